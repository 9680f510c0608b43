#include "DesktopAssociations.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <algorithm>

namespace ponencias {

namespace {

// A desktop entry that declares one of the types and can be launched.
bool EntryOpensAnyOf(const QString& path, const QStringList& mimeTypes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    bool inMainGroup = false;
    bool opens = false;
    bool hidden = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(64 * 1024).trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        if (line.startsWith("MimeType=")) {
            const QList<QByteArray> declared = line.mid(9).split(';');
            opens = std::any_of(declared.begin(), declared.end(), [&](const QByteArray& type) {
                return !type.isEmpty() && mimeTypes.contains(QString::fromUtf8(type));
            });
        } else if (line == "Hidden=true") {
            hidden = true;  // a deleted entry; NoDisplay ones still open files
        }
    }
    return opens && !hidden;
}

}  // namespace

bool DesktopHasApplicationFor(const QStringList& mimeTypes) {
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QDirIterator entries(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            if (EntryOpensAnyOf(entries.next(), mimeTypes)) {
                return true;
            }
        }
    }
    return false;
}

QStringList DesktopTypesOfFile(const QString& path) {
    // The name and the content may tell different types (a workbook named .xls that holds
    // xlsx); a desktop opener may go by either.
    const QMimeDatabase database;
    QStringList types;
    for (const QMimeType& type : {database.mimeTypeForFile(path),
                                  database.mimeTypeForFile(path, QMimeDatabase::MatchContent)}) {
        types << type.name();
        types += type.aliases();
        types += type.allAncestors();
    }
    types.removeAll(QStringLiteral("application/octet-stream"));
    types.removeAll(QStringLiteral("text/plain"));
    types.removeDuplicates();
    return types;
}

}  // namespace ponencias
