#pragma once

#include <QMetaObject>

#include "ListControl.h"

class QComboBox;
class QLineEdit;

namespace ponencias {

// A combo box seen as a list control. A user's choice (from the popup, the arrow keys or the
// wheel) runs the choice reaction; typing into an editable combo's field never does, not even
// when the typed text equals an entry and Enter is pressed or the field loses the focus.
class ComboListControl : public ListControl {
public:
    explicit ComboListControl(QComboBox* combo);
    ~ComboListControl() override;
    Q_DISABLE_COPY(ComboListControl)

    void Clear() override;
    void AddItem(const QString& text) override;
    int ListCount() const override;
    QString List(int index) const override;
    int ListIndex() const override;
    QString Text() const override;
    void SetText(const QString& text) override;
    void SetFocus() override;
    bool IsEditable() const override;

protected:
    void SelectIndex(int index) override;

private:
    QComboBox* combo_;
    QMetaObject::Connection userChoice_;
};

class LineEditTextControl : public TextControl {
public:
    explicit LineEditTextControl(QLineEdit* edit) : edit_(edit) {}
    QString Text() const override;
    void SetText(const QString& text) override;

private:
    QLineEdit* edit_;
};

// Makes a combo editable the way the query window's topic combos are: the field takes any text
// of any length, nothing typed is added to the entries or completed from them, and typing never
// counts as a choice.
void MakeFreeTextCombo(QComboBox* combo);

}  // namespace ponencias
