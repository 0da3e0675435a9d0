#pragma once

#include <string>

// The text one result field shows, addressed by the field's control id.
struct FieldText {
    int controlId = 0;
    std::string text;

    friend bool operator==(const FieldText&, const FieldText&) = default;
};

// The enabled state one control should have.
struct ControlState {
    int controlId = 0;
    bool enabled = false;

    friend bool operator==(const ControlState&, const ControlState&) = default;
};
