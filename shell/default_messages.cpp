#include "shell/default_messages.h"

#include <array>

namespace {

constexpr std::array<std::string_view, kMessageCount> kDefaults = {
    "Dragon",
    "Snake",
    "Horse",
    "Ram",
    "Monkey",
    "Rooster",
    "Dog",
    "Boar",
    "Rat",
    "Ox",
    "Tiger",
    "Rabbit",
    "Aquarius",
    "Pisces",
    "Aries",
    "Taurus",
    "Gemini",
    "Cancer",
    "Leo",
    "Virgo",
    "Libra",
    "Scorpio",
    "Sagittarius",
    "Capricorn",
    "1st",
    "2nd",
    "3rd",
    "4th",
    "Last",
    "System time error",
    "Time restore failed",
    "Changed",
    "Restored",
    "Yes",
    "No",
    "Winter",
    "Spring",
    "Summer",
    "Autumn",
    "A Folder by this name cannot be found",
    "Template folder cannot be found. Choose another template folder in the Options page",
    "Text Files (*.txt)|*.txt|All Files (*.*)|*.*",
    "Error opening file",
    "Error saving file",
    "Are you sure you want to delete template \"%s\"?",
    "Cannot remove template",
    "Editor already has a text, do you want to replace it?",
    "Error opening template",
    "Error saving template",
    "To create a new template choose Template -> New in the main menu",
};

constexpr std::array<std::string_view, kTranslatorInfoCount> kTranslatorDefaults = {
    "Orvane",
    "support@orvane.com",
    "09/20/2004",
};

}  // namespace

std::string_view DefaultMessage(int messageId)
{
    if (messageId < 0 || messageId >= kMessageCount) {
        return {};
    }
    return kDefaults[static_cast<std::size_t>(messageId)];
}

std::string_view DefaultTranslatorInfo(int index)
{
    if (index < 0 || index >= kTranslatorInfoCount) {
        return {};
    }
    return kTranslatorDefaults[static_cast<std::size_t>(index)];
}
