#include "Form1Controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <limits>
#include <stdexcept>

namespace ponencias {

ComboListControl::ComboListControl(QComboBox* combo) : combo_(combo) {
    // `activated` comes only from the user; choices made in code run the reaction through
    // SetListIndex, even when the index does not change.
    userChoice_ = QObject::connect(combo_, &QComboBox::activated, combo_,
                                   [this](int) { RunChoiceReaction(); });
}

ComboListControl::~ComboListControl() {
    QObject::disconnect(userChoice_);
}

void ComboListControl::Clear() {
    combo_->clear();
    if (combo_->isEditable()) {
        combo_->setEditText(QString());
    }
}

void ComboListControl::AddItem(const QString& text) {
    const bool wasEmpty = combo_->count() == 0;
    const QString shown = combo_->currentText();
    combo_->addItem(text);
    // Qt selects the first entry put into an empty combo; a list keeps having no selection.
    if (wasEmpty && combo_->currentIndex() != -1) {
        combo_->setCurrentIndex(-1);
        if (combo_->isEditable()) {
            combo_->setEditText(shown);
        }
    }
}

int ComboListControl::ListCount() const {
    return combo_->count();
}

QString ComboListControl::List(int index) const {
    return combo_->itemText(index);
}

int ComboListControl::ListIndex() const {
    return combo_->currentIndex();
}

QString ComboListControl::Text() const {
    return combo_->currentText();
}

void ComboListControl::SetText(const QString& text) {
    if (!combo_->isEditable()) {
        throw std::logic_error("a drop-down list shows only its entries");
    }
    combo_->setEditText(text);
}

void ComboListControl::SetFocus() {
    combo_->setFocus(Qt::OtherFocusReason);
}

bool ComboListControl::IsEditable() const {
    return combo_->isEditable();
}

void ComboListControl::SelectIndex(int index) {
    if (index == -1 && combo_->isEditable()) {
        const QString shown = combo_->currentText();
        combo_->setCurrentIndex(-1);
        combo_->setEditText(shown);
        return;
    }
    combo_->setCurrentIndex(index);
}

QString LineEditTextControl::Text() const {
    return edit_->text();
}

void LineEditTextControl::SetText(const QString& text) {
    edit_->setText(text);
}

void MakeFreeTextCombo(QComboBox* combo) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    QLineEdit* field = combo->lineEdit();
    field->setMaxLength(std::numeric_limits<int>::max());
    // Qt would take Enter, or leaving the field, with a text equal to an entry as a choice of
    // that entry.
    QObject::disconnect(field, &QLineEdit::returnPressed, combo, nullptr);
    QObject::disconnect(field, &QLineEdit::editingFinished, combo, nullptr);
}

}  // namespace ponencias
