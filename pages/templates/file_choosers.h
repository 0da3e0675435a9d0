#pragma once

#include <string>
#include <string_view>

class QWidget;

// The platform's file dialog, in its Save form (asks before replacing a file, needs an existing folder)
// or its Open form (needs an existing file). `filter` is a '|'-separated list of descriptions and
// patterns ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"); `defaultExtension` is appended to a name
// typed without one. It starts in the folder of the file last chosen in this session, else in the user's
// documents folder, else in the home folder. `path` is cleared first; true with the chosen full path when
// the user confirmed a file, false at once for an empty filter.
bool ChooseFile(bool save, std::string& path, std::string_view filter, std::string_view defaultExtension,
                QWidget* parent);

// The platform's folder dialog with `title`, showing folders only and starting at `folder` (the current
// folder when it is empty). `folder` is cleared first; true with the chosen folder (no final '/') when
// the user confirmed one.
bool BrowseForFolder(std::string_view title, std::string& folder, QWidget* parent);
