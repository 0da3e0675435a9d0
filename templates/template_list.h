#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "templates/template_store.h"

// The user's order of template names (the desktop's collation in the program).
class NameOrder {
public:
    virtual ~NameOrder() = default;
    // Sorts names, each given as its bytes, into this order.
    virtual void Sort(std::vector<std::string>& names) const = 0;
    // True when `a` goes before `b`.
    virtual bool Before(const std::string& a, const std::string& b) const = 0;
};

// The template editor's list: the names of the template folder in the user's order, each kept as the bytes
// of its file name, and the current template, the one whose text is open for editing. Rows are the rows
// the editor shows.
class TemplateList {
public:
    TemplateList(const TemplateStore& store, const NameOrder& order);

    // Reads the folder's template names, in order; false when the folder does not exist.
    bool Read();
    const std::vector<std::string>& Names() const { return m_names; }
    int Count() const { return static_cast<int>(m_names.size()); }
    // The row a remembered number selects at opening: the number within the list; -1 for an empty list.
    int StartRow(int remembered) const;

    // The current template's row; -1 when none is open for editing.
    int Current() const { return m_current; }
    // Opens the template of `row`, which becomes the current one. Nullopt, with none current, for a row
    // outside the list or a template that cannot be read (the store reports why, and `whyNot` gets it).
    std::optional<LoadedTemplate> Open(int row, std::string* whyNot);
    // What the current template's file holds for the field's text (line feeds only): CR LF wherever the
    // file had CR LF line ends when it was opened, so an edit keeps the file's kind of line end.
    std::string FileText(std::string_view fieldText) const;
    // Writes FileText(fieldText) into the current template's file; false when none is current or the
    // store could not write it.
    bool SaveCurrent(std::string_view fieldText) const;
    // Adds an empty template `name` at its place in the order, so that a remembered number keeps meaning
    // the same template, and makes it current; its row. Nullopt, with the list as it was and none current,
    // when its file could not be made.
    std::optional<int> Add(const std::string& name);
    // Deletes the template of `row`, its file and its entry, and leaves none current; the row to select
    // next (the one that took its place, else the last, -1 for an empty list). Nullopt, with the list as
    // it was, when the file could not be deleted.
    std::optional<int> Delete(int row);

private:
    bool Holds(int row) const { return row >= 0 && row < Count(); }
    const std::string& NameAt(int row) const { return m_names[static_cast<std::size_t>(row)]; }

    const TemplateStore& m_store;
    const NameOrder& m_order;
    std::vector<std::string> m_names;
    int m_current = -1;
    bool m_crLf = false;   // the current template's file had CR LF line ends
};
