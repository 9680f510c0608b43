#pragma once

#include <gtest/gtest.h>
#include <QStringList>
#include <QTemporaryDir>

#include "export/ResultHandOver.h"
#include "export/ResultSheetExport.h"
#include "support/Files.h"
#include "support/TestStore.h"

namespace ponencias::test {

// Records what the export would have shown the user.
class CapturingFeedback : public ExportFeedback {
public:
    int noRecords = 0;
    QStringList errors;
    QStringList notices;
    QStringList information;
    QStringList shownWorkbooks;
    bool desktopTakesWorkbooks = true;

    void showNoRecords() override { ++noRecords; }
    void showError(const QString& text) override { errors << text; }
    void showNotice(const QString& text) override { notices << text; }
    void showInformation(const QString& text) override { information << text; }
    bool showWorkbook(const QString& path) override {
        shownWorkbooks << path;
        return desktopTakesWorkbooks;
    }
};

// Every export test runs with its own temporary location (where the results folder goes), its
// own home folder, a desktop whose entries the test decides and a capturing feedback.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { SetExportFeedback(nullptr); }
    // Puts a desktop entry that opens templates and workbooks, workbooks only, or none. Each
    // test starts with one for templates, as LibreOffice Calc declares.
    void setDesktopSpreadsheets(DesktopSpreadsheets desktop);
    // The user's documents folder, under the test's home folder; not made by the fixture.
    QString documentsFolder() const;

    QTemporaryDir temp_;
    CapturingFeedback feedback_;
    ScopedEnvironment environment_;
};

// Proposals 1 to `count`, every column of proposal n filled from n (folio n, title "Título de
// la ponencia n" …).
std::vector<ProposalRow> MakeProposals(int count);

inline const QString kAllProposals = QStringLiteral("SELECT * FROM PONENCIAS");

// Every part of a template is the workbook's: the same entries in the same order, stored with
// the same bytes (not compressed again), apart from the content type of the main part in
// [Content_Types].xml and the creation time of each file in docProps/core.xml.
void ExpectTemplateOfWorkbook(const QString& templatePath, const QString& workbookPath);

}  // namespace ponencias::test
