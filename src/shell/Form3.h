#pragma once

#include "Windows.h"

class QListWidget;

namespace ponencias {

class CaptionLabel;
class PictureButton;

// The main window: the description of the database, the way to the query window, the document
// launcher and its information list, and the way out.
class Form3 : public ProgramWindow {
    Q_OBJECT

public:
    Form3();
    void Load() override;

    static QString Description();
    // The information list's entries, in order, and the documents of the launcher.
    static const QStringList& InformationEntries();
    static QString DatabaseDocument();  // "Ponencias.xls"
    static QString GlossaryDocument();  // "Glosario de términos.pdf"
    static QString TypologyDocument();  // "Tipología de Variables.pdf"

private:
    void CommandPesquira_Click();
    void CommandAbrirBase_Click();
    void CommandSalir_Click();
    void LabelInfAdicional_Click();
    void ListInformacion_Click();

    CaptionLabel* LabelDescripcion;
    PictureButton* CommandPesquira;
    PictureButton* CommandAbrirBase;
    PictureButton* CommandSalir;
    CaptionLabel* LabelInfAdicional;
    QListWidget* ListInformacion;
};

}  // namespace ponencias
