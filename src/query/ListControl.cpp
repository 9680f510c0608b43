#include "ListControl.h"

#include <stdexcept>

namespace ponencias {

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) {
        throw std::out_of_range("list index out of range");
    }
    SelectIndex(index);
    if (index >= 0) {
        RunChoiceReaction();
    }
}

void ListControl::RunChoiceReaction() const {
    if (reaction_) {
        // A copy, so that a reaction may replace the list's reaction while it runs.
        const std::function<void()> reaction = reaction_;
        reaction();
    }
}

void MemoryListControl::Clear() {
    items_.clear();
    index_ = -1;
    text_.clear();
}

void MemoryListControl::AddItem(const QString& text) {
    items_.append(text);
}

QString MemoryListControl::Text() const {
    if (editable_) {
        return text_;
    }
    return index_ >= 0 ? items_.at(index_) : QString();
}

void MemoryListControl::SetText(const QString& text) {
    if (!editable_) {
        throw std::logic_error("a drop-down list shows only its entries");
    }
    text_ = text;
}

void MemoryListControl::SelectIndex(int index) {
    index_ = index;
    if (editable_ && index >= 0) {
        text_ = items_.at(index);
    }
}

}  // namespace ponencias
