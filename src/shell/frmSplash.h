#pragma once

#include "Windows.h"

class QFrame;
class QLabel;

namespace ponencias {

class CaptionLabel;
class CommandButton;

// The start-up window: the logo, the database's title, and the way in or out.
class frmSplash : public ProgramWindow {
    Q_OBJECT

public:
    frmSplash();
    void Load() override;

    // "BASE DE DATOS DE LAS MIREOLAS", two carriage returns, and the subtitle.
    static QString Title();

private:
    void CommandEntrar_Click();
    void CommandSalir_Click();

    QFrame* Frame1;
    QLabel* imgLogo;
    CaptionLabel* LabelTit;
    CommandButton* CommandEntrar;
    CommandButton* CommandSalir;
};

}  // namespace ponencias
