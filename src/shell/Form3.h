#pragma once

#include <memory>

#include "windows/Windows.h"

namespace Ui {
class Form3;
}

namespace ponencias {

// The main window: the description of the database, the way to the query window, the document
// launcher and its information list, and the way out. Its design is the form Form3.ui.
class Form3 : public ProgramWindow {
    Q_OBJECT

public:
    Form3();
    ~Form3() override;
    void Load() override;

    static QString Description();
    // The information list's entries, in order, and the documents of the launcher.
    static const QStringList& InformationEntries();
    static QString DatabaseDocument();  // "Ponencias.xls"
    static QString GlossaryDocument();  // "Glosario de términos.pdf"
    static QString TypologyDocument();  // "Tipología de Variables.pdf"

private:
    // "Pesquira" (for "Pesquisa") is the button's name as it always stood; kept on purpose.
    void CommandPesquira_Click();
    void CommandAbrirBase_Click();
    void CommandSalir_Click();
    void LabelInfAdicional_Click();
    void ListInformacion_Click();

    std::unique_ptr<Ui::Form3> ui;
};

}  // namespace ponencias
