#include "ExportTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "XlsxReader.h"

#include "export/ResultHandOver.h"

namespace ponencias::test {

void ExportTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    // The user's folders (documents above all) are the test's own.
    environment_.set("HOME", temp_.filePath(QStringLiteral("usuario")));
    environment_.set("XDG_CONFIG_HOME", temp_.filePath(QStringLiteral("usuario/.config")));
    QDir(temp_.path()).mkpath(QStringLiteral("tmp"));
    environment_.set("TMPDIR", temp_.filePath(QStringLiteral("tmp")));
    environment_.set("XDG_DATA_HOME", temp_.filePath(QStringLiteral("home")));
    environment_.set("XDG_DATA_DIRS", temp_.filePath(QStringLiteral("share")));
    setDesktopSpreadsheets(DesktopSpreadsheets::Templates);
    SetExportFeedback(&feedback_);
}

void ExportTest::setDesktopSpreadsheets(DesktopSpreadsheets desktop) {
    const QString folder = temp_.filePath(QStringLiteral("share/applications"));
    QDir().mkpath(folder);
    QFile entry(folder + QStringLiteral("/calc.desktop"));
    if (desktop == DesktopSpreadsheets::None) {
        entry.remove();
    } else if (entry.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        entry.write(
            "[Desktop Entry]\nType=Application\nName=Calc\nExec=calc %U\n"
            "MimeType=application/vnd.oasis.opendocument.spreadsheet;"
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet;");
        if (desktop == DesktopSpreadsheets::Templates) {
            entry.write("application/vnd.openxmlformats-officedocument.spreadsheetml.template;");
        }
        entry.write("\n");
    }
}

QString ExportTest::documentsFolder() const {
    return temp_.filePath(QStringLiteral("usuario/Documents"));
}

std::vector<ProposalRow> MakeProposals(int count) {
    std::vector<ProposalRow> rows;
    for (int n = 1; n <= count; ++n) {
        const QString s = QString::number(n);
        rows.push_back({
            {"FOLIO", s},
            {"ID", QString::number(10000 + n)},
            {"ESTADO", "Estado " + s},
            {"EDAD", QString::number(20 + n % 50)},
            {"SEXO", n % 2 ? "Hombre" : "Mujer"},
            {"PERFIL_PONENTE", "Perfil " + s},
            {"NUM_JORNADA", QString::number(1 + n % 30)},
            {"EJE_TEMATICO", "Eje " + s},
            {"SUBTEMA", "Subtema " + s},
            {"CATEGORIA_SUBTEMA", "Categoría " + s},
            {"TITULO", "Título de la ponencia " + s},
            {"RESUMEN", "Resumen de la ponencia " + s + ", con comas y \"comillas\"."},
            {"NORMATIVIDAD_MODIFICAR_1", "Ley " + s},
            {"NORMATIVIDAD_MODIFICAR_2", "No aplica"},
            {"NORMATIVIDAD_MODIFICAR_3", QVariant()},
            {"NORMATIVIDAD_MODIFICAR_4", ""},
            {"NORMATIVIDAD_MODIFICAR_5", "Ley cinco"},
        });
    }
    return rows;
}

void ExpectTemplateOfWorkbook(const QString& templatePath, const QString& workbookPath) {
    const auto workbook = ReadZipEntries(workbookPath, true);
    const auto templ = ReadZipEntries(templatePath, true);
    ASSERT_EQ(templ.size(), workbook.size());
    for (size_t i = 0; i < workbook.size(); ++i) {
        const QString& name = workbook[i].first;
        ASSERT_EQ(templ[i].first, name);
        if (name == QStringLiteral("[Content_Types].xml")) {
            QByteArray types = ReadZipPart(templatePath, name);
            const QByteArray templateType =
                "\"application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml\"";
            EXPECT_EQ(types.count(templateType), 1) << types.toStdString();
            types.replace(templateType,
                          "\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet."
                          "main+xml\"");
            EXPECT_EQ(types, ReadZipPart(workbookPath, name));
        } else if (name == QStringLiteral("docProps/core.xml")) {
            static const QRegularExpression time(QStringLiteral("\\d{4}-\\d\\d-\\d\\dT[0-9:]+Z"));
            EXPECT_EQ(QString::fromUtf8(ReadZipPart(templatePath, name)).replace(time, "T"),
                      QString::fromUtf8(ReadZipPart(workbookPath, name)).replace(time, "T"));
        } else {
            EXPECT_TRUE(templ[i].second == workbook[i].second) << name.toStdString();
        }
    }
}

}  // namespace ponencias::test
