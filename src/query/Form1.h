#pragma once

#include <functional>
#include <memory>

#include "shell/Windows.h"

class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ponencias {

class ComboListControl;
class LineEditTextControl;
class QueryFilters;

// The query window: seven filter lists and a keyword box over the proposals, and the Search,
// Clear, Back and Exit buttons. The constructor lays out the window's design; Load() fills it
// from the store and throws StoreError when the store fails, so a window that cannot be filled
// never appears.
class Form1 : public ProgramWindow {
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void Load() override;

    QueryFilters& Filters() { return *filters_; }
    // Tests watch the hand-over to the export instead of writing a workbook.
    void SetResultExporterForTesting(std::function<void(const QString&)> exporter);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RunSearch();
    void CommandAtrasClick();
    void CommandSalirClick();

    QLabel* LabelTit;
    QComboBox* JornadaCbo;
    QComboBox* EntidadCbo;
    QComboBox* EjeTemCbo;
    QComboBox* SubtemaCbo;
    QComboBox* CatSubTemaCbo;
    QComboBox* PerfilPonCbo;
    QComboBox* NormatividadCbo;
    QLineEdit* BusquedaTxt;
    QPushButton* CommandBuscar;
    QPushButton* CommandLimpiar;
    QPushButton* CommandAtras;
    QPushButton* CommandSalir;

    std::unique_ptr<ComboListControl> lists_[7];
    std::unique_ptr<LineEditTextControl> keyword_;
    std::unique_ptr<QueryFilters> filters_;
    std::function<void(const QString&)> exporter_;
};

}  // namespace ponencias
