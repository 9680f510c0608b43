#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ponencias {

// What the query window's logic needs of a drop-down list or an editable combo. The window
// wires these to its combo boxes; the tests and the command-line companion use the in-memory
// lists below, so the same logic decides everything in all three.
class ListControl {
public:
    virtual ~ListControl() = default;

    // Removes every entry; nothing stays selected and the text becomes empty.
    virtual void Clear() = 0;
    // Appends an entry; the selection and the text stay as they were.
    virtual void AddItem(const QString& text) = 0;
    virtual int ListCount() const = 0;
    virtual QString List(int index) const = 0;
    // The selected entry, -1 when none.
    virtual int ListIndex() const = 0;
    // Selecting an entry in code counts as a choice: the choice reaction runs to its end before
    // this returns, even when the entry was already selected. -1 removes the selection and runs
    // nothing; an editable combo keeps showing its text then. Any other index is refused with
    // std::out_of_range.
    void SetListIndex(int index);
    // For a drop-down list the selected entry's text ("" when none); for an editable combo
    // whatever its edit field shows.
    virtual QString Text() const = 0;
    // Only editable combos take a text of their own; a drop-down list refuses it
    // (std::logic_error).
    virtual void SetText(const QString& text) = 0;
    virtual void SetFocus() = 0;
    virtual bool IsEditable() const = 0;

    // The list's reaction to a choice, set by the logic that owns the list.
    void SetChoiceReaction(std::function<void()> reaction) { reaction_ = std::move(reaction); }
    // Called by a control when its user chose an entry.
    void RunChoiceReaction() const;

protected:
    // Moves the selection (and for an entry, the text) without running the reaction.
    virtual void SelectIndex(int index) = 0;

private:
    std::function<void()> reaction_;
};

// The keyword box: a single-line text without a length limit.
class TextControl {
public:
    virtual ~TextControl() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
};

// A list held in memory, for the tests and the command-line companion.
class MemoryListControl : public ListControl {
public:
    explicit MemoryListControl(bool editable = false) : editable_(editable) {}

    void Clear() override;
    void AddItem(const QString& text) override;
    int ListCount() const override { return int(items_.size()); }
    QString List(int index) const override { return items_.value(index); }
    int ListIndex() const override { return index_; }
    QString Text() const override;
    void SetText(const QString& text) override;
    void SetFocus() override { ++focusRequests_; }
    bool IsEditable() const override { return editable_; }

    const QStringList& Items() const { return items_; }
    // How often the logic asked for the focus to move here.
    int FocusRequests() const { return focusRequests_; }

protected:
    void SelectIndex(int index) override;

private:
    bool editable_;
    QStringList items_;
    int index_ = -1;
    QString text_;  // editable combos only
    int focusRequests_ = 0;
};

class MemoryTextControl : public TextControl {
public:
    QString Text() const override { return text_; }
    void SetText(const QString& text) override { text_ = text; }

private:
    QString text_;
};

}  // namespace ponencias
