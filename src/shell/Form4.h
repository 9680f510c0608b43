#pragma once

#include "Windows.h"

namespace ponencias {

class CaptionLabel;
class CommandButton;
class HyperLinkLabel;

// The about window: what the consultation was, its six thematic axes, who compiled the
// database, and whom to write to.
class Form4 : public ProgramWindow {
    Q_OBJECT

public:
    Form4();
    void Load() override;

    // The texts the load step writes, and the contact address.
    static QString Heading();
    static QString Introduction();
    static QString Axes();
    static QString Compilers();
    static QString Contact();
    static QString ContactAddress();

private:
    void CommandCerrar_Click();

    CaptionLabel* LabelTit;
    CaptionLabel* LabelParr1;
    CaptionLabel* LabelParr3;
    CaptionLabel* LabelParr4;
    CaptionLabel* LabelParr5;
    HyperLinkLabel* HyperLinkLabel1;
    CommandButton* CommandCerrar;
};

}  // namespace ponencias
