#pragma once

#include "Mdb.h"

#include <QString>

namespace ponencias {

// Access 2019's Date/Time Extended, a kind libmdb 1.0 does not name.
inline constexpr int kMdbExtendedDateTime = 0x14;

// How one column of an Access table is read.
struct AccessColumn {
    MdbColumn* column = nullptr;
    QString name;
    int kind = 0;             // the kind of its values (for a calculated column, of its result)
    bool calculated = false;  // its values were computed by Access from other columns
    int scale = 0;            // digits after the point, for decimals
    bool noted = false;       // the import's notes already name it
    int unreadable = 0;       // values that could not be read, each read as NULL

    static AccessColumn Of(MdbColumn* column);

    // The column's SQLite affinity in the copy ("" for none).
    QLatin1String Affinity() const;

    // Its values read as the empty value: kinds the store cannot show (OLE objects, binary
    // data, attachments), and kinds the import does not know (one a later Access may add).
    bool ReadsEmpty() const { return !EmptyReason().isEmpty(); }
    bool KindUnknown() const;
    // Why, in the words of the import's note; empty for the kinds it reads.
    QString EmptyReason() const;
};

}  // namespace ponencias
