// Opens a data file of any content the way the query window does: recognise the format, import
// it (SQLite or Access through libmdb), then run the five list queries. Every input must end in
// rows or in a StoreError; anything else (a crash, a hang, a sanitizer report) is a bug.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "query/MemoryQueryControls.h"
#include "store/AccessImport.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"

using namespace ponencias;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static unsigned long run = 0;
    // A new name for every input, so no input can be answered from an earlier one's copy.
    const QString path = folder.filePath(QStringLiteral("Ponencias-%1.mdb").arg(run++));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    SetProposalDataFile(path);
    // The sanitizer's builds cannot bound the Access reader's memory, so a damaged file that
    // sends libmdb into ever larger allocations is cut short by time instead.
    SetAccessImportTimeLimit(5000);

    MemoryQueryControls controls;
    MemoryListControl& eje = controls.EjeTemCbo;
    MemoryListControl& subtema = controls.SubtemaCbo;
    try {
        controls.Load();
        // Every axis the file offers, as a user would choose them, then the first subtopic.
        for (int axis = 1; axis < eje.ListCount(); ++axis) {
            eje.SetListIndex(axis);
            if (subtema.ListCount() > 1) {
                subtema.SetListIndex(1);
            }
        }
    } catch (const StoreError&) {
    }
    ReleaseProposalStore();
    QFile::remove(path);
    return 0;
}
