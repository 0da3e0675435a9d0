#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FileFilter {
    std::string description;             // without a trailing "(patterns)"
    std::vector<std::string> patterns;   // "*.txt"; "*.*" becomes "*", as every name matches it
};

// The entries of a filter text of alternating descriptions and patterns separated by '|', as in
// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" (';' separates patterns of one entry). The list
// ends at the first empty field; an entry without patterns is left out.
std::vector<FileFilter> ParseFileFilter(std::string_view text);

// The entries in the form of Qt's file dialogs: "Text Files (*.txt);;All Files (*)".
std::string FormatNameFilters(const std::vector<FileFilter>& filters);
