#pragma once

#include <memory>

#include "windows/Windows.h"

class QCloseEvent;

namespace Ui {
class Form1;
}

namespace ponencias {

class ComboListControl;
class LineEditTextControl;
class QueryFilters;

// The query window: seven filter lists and a keyword box over the proposals, and the Search,
// Clear, Back and Exit buttons. Its design is the form Form1.ui; Load() fills it
// from the store and throws StoreError when the store fails, so a window that cannot be filled
// never appears.
class Form1 : public ProgramWindow {
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void Load() override;

    QueryFilters& Filters() { return *filters_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RunSearch();
    void CommandAtrasClick();
    void CommandSalirClick();

    std::unique_ptr<Ui::Form1> ui;
    std::unique_ptr<ComboListControl> lists_[7];
    std::unique_ptr<LineEditTextControl> keyword_;
    std::unique_ptr<QueryFilters> filters_;
};

}  // namespace ponencias
