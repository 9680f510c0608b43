#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ponencias {

// What the Access importer (ponencias-importar) and the store say to each other on the
// importer's result pipe. The importer greets as soon as it starts, before it reads the file,
// so a store that hears no greeting knows the importer itself is missing or broken; then it
// sends one result: the database image and the notes, or why the file cannot be read.
class ImportProtocol {
public:
    static QByteArray Greeting();
    static QByteArray Success(const QByteArray& image, const QStringList& notes);
    static QByteArray Failure(const QByteArray& why);

    // What the store made of all the importer sent.
    struct Reply {
        enum Status { NoGreeting, Incomplete, Succeeded, Failed };
        Status status = NoGreeting;
        QByteArray image;
        QStringList notes;
        QString failure;  // why the file cannot be read, for Failed
    };
    static Reply Parse(const QByteArray& received);
};

}  // namespace ponencias
