#pragma once

#include <memory>

#include "windows/Windows.h"

namespace Ui {
class Form4;
}

namespace ponencias {

// The about window: what the consultation was, its six thematic axes, who compiled the
// database, and whom to write to (the form's link). Its design is the form Form4.ui.
class Form4 : public ProgramWindow {
    Q_OBJECT

public:
    Form4();
    ~Form4() override;
    void Load() override;

    // The texts the load step writes.
    static QString Heading();
    static QString Introduction();
    static QString Axes();
    static QString Compilers();
    static QString Contact();

private:
    void CommandCerrar_Click();

    std::unique_ptr<Ui::Form4> ui;
};

}  // namespace ponencias
