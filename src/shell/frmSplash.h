#pragma once

#include <memory>

#include "windows/Windows.h"

namespace Ui {
class frmSplash;
}

namespace ponencias {

// The start-up window: the logo, the database's title, and the way in or out. Its design is
// the form frmSplash.ui.
class frmSplash : public ProgramWindow {
    Q_OBJECT

public:
    frmSplash();
    ~frmSplash() override;
    void Load() override;

    // "BASE DE DATOS DE LAS MIREOLAS", two carriage returns, and the subtitle.
    static QString Title();

private:
    void CommandEntrar_Click();
    void CommandSalir_Click();

    std::unique_ptr<Ui::frmSplash> ui;
};

}  // namespace ponencias
