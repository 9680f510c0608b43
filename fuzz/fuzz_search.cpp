// The query window's search against a plain reference. Each input is a window state: the seven
// filters, each chosen (any first byte but '0') or left on its all-entry, with the value of its
// chosen entry, then the keyword; the fields are separated by the byte 0xFF, which UTF-8 never
// uses. The window's own logic makes the choices (the topic cascade included) and composes the
// search, which runs on a fixed store; the folios found must be exactly those the reference
// filter finds in the same rows. Any difference, and any store failure, aborts with both lists.
#include <QByteArrayList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "query/MemoryQueryControls.h"
#include "store/StoreError.h"
#include "support/SearchReference.h"

using namespace ponencias;
using namespace ponencias::test;

namespace {

constexpr size_t kFilterCount = 7;
const std::array<const QString*, kFilterCount> kAllEntries = {
    &kTodasLasJornadas,   &kTodasLasEntidades, &kTodosLosEjes,          &kTodosLosSubtemas,
    &kTodasLasCategorias, &kTodosLosPonentes,  &kTodasLasNormatividades};

struct WindowState {
    std::array<ListChoice, kFilterCount> filters;  // index 0 or 1, and the chosen entry's text
    QString keyword;
};

WindowState Decode(const uint8_t* data, size_t size) {
    const QByteArrayList fields =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))
            .split(char(0xFF));
    WindowState state;
    for (size_t k = 0; k < kFilterCount; ++k) {
        const QByteArray field = fields.value(qsizetype(k));
        const bool chosen = !field.isEmpty() && field.at(0) != '0';
        state.filters[k] = {chosen ? 1 : 0, QString::fromUtf8(field.mid(1))};
    }
    state.keyword = QString::fromUtf8(fields.mid(kFilterCount).join(char(0xFF)));
    return state;
}

// What the window's state means: the chosen entries' texts, the editable combos showing their
// all-entry text when left on it.
SearchCriteria Meaning(const WindowState& state) {
    const auto text = [&](size_t k) {
        return state.filters[k].ListIndex != 0 ? state.filters[k].Text : *kAllEntries[k];
    };
    SearchCriteria criteria;
    criteria.Jornada = {state.filters[0].ListIndex, text(0)};
    criteria.Entidad = {state.filters[1].ListIndex, text(1)};
    criteria.EjeTematico = {state.filters[2].ListIndex, text(2)};
    criteria.Subtema = text(3);
    criteria.Categoria = text(4);
    criteria.Perfil = {state.filters[5].ListIndex, text(5)};
    criteria.Normatividad = {state.filters[6].ListIndex, text(6)};
    criteria.Palabra = state.keyword;
    return criteria;
}

// The store's rows: the hostile values of the tests (their very long one shortened, so a run
// gets through many inputs), then rows whose columns mix accented capitals and small letters,
// "ñ"/"Ñ", apostrophes, pattern characters, backslashes, empty texts, nulls and long texts, so
// that criteria combine.
std::vector<ProposalRow> FixedRows() {
    QStringList values = HostileValues();
    values.removeIf([](const QString& value) { return value.size() > 10000; });
    values << QString(2000, QLatin1Char('z'));
    std::vector<ProposalRow> rows = HostileRows(values);

    const QString longText =
        QStringLiteral("Participación ciudadana en la elección. ").repeated(150) +
        QStringLiteral("ÚLTIMA línea: ñandú_100% \\fin");
    const QStringList vocabulary = {
        QStringLiteral("México"),   QStringLiteral("MÉXICO"),     QStringLiteral("Mexico"),
        QStringLiteral("méxico"),   QStringLiteral("Año"),        QStringLiteral("AÑO"),
        QStringLiteral("ano"),      QStringLiteral(""),           QStringLiteral("O'Brien"),
        QStringLiteral("o'brien"),  QStringLiteral("100%"),       QStringLiteral("100"),
        QStringLiteral("5_a"),      QStringLiteral("5xa"),        QStringLiteral("C:\\ruta"),
        QStringLiteral("\\"),       QStringLiteral("Ñandú"),      QStringLiteral("ÑANDÚ"),
        QStringLiteral("ñandu"),    QStringLiteral("Ångström"),   QStringLiteral("ångström"),
        QStringLiteral("Straße"),   QStringLiteral("STRASSE"),    QStringLiteral("Ǆemal"),
        QStringLiteral("ǆemal"),    QStringLiteral("ΣΊΣΥΦΟΣ"),    QStringLiteral("σίσυφος"),
        QStringLiteral(" México "), QStringLiteral("Educación "), longText,
    };
    const QStringList columns = {"NUM_JORNADA",
                                 "ESTADO",
                                 "EJE_TEMATICO",
                                 "SUBTEMA",
                                 "CATEGORIA_SUBTEMA",
                                 "PERFIL_PONENTE",
                                 "NORMATIVIDAD_MODIFICAR_1",
                                 "NORMATIVIDAD_MODIFICAR_2",
                                 "NORMATIVIDAD_MODIFICAR_3",
                                 "NORMATIVIDAD_MODIFICAR_4",
                                 "NORMATIVIDAD_MODIFICAR_5",
                                 "RESUMEN"};
    const qsizetype choices = vocabulary.size() + 1;  // the last leaves the column null
    for (int n = 0; n < 90; ++n) {
        ProposalRow row;
        row.insert(QStringLiteral("FOLIO"), QString::number(rows.size() + 1));
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const qsizetype pick = (n * (2 * c + 3) + c * c) % choices;
            if (pick < vocabulary.size()) {
                // The long text whole in the summary, its start elsewhere.
                const QString& value = vocabulary[pick];
                row.insert(columns[c],
                           columns[c] == QLatin1String("RESUMEN") ? value : value.left(300));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

struct FixedStore {
    // Made the program's data file while this is built, so the data file's name outlives this
    // (statics go in the reverse order of their making) and the folder is removed at exit.
    FixedStore() { store.use(); }
    std::vector<ProposalRow> rows = FixedRows();
    SearchReference reference{rows};
    TemporaryStore store{rows};
};

const FixedStore& TheStore() {
    static const FixedStore fixed;
    return fixed;
}

// A list as the window fills it, headed by its all-entry, and the entry chosen as a user would.
void Choose(ListControl& list, const QString& allEntry, const ListChoice& choice) {
    list.Clear();
    list.AddItem(allEntry);
    list.AddItem(choice.Text);
    list.SetListIndex(choice.ListIndex);
}

// A text as it can be printed: a NUL would end it.
QByteArray Printable(const QString& text) {
    QString shown = text.left(2000);
    shown.replace(QChar(0), QStringLiteral("\\0"));
    return shown.toUtf8();
}

[[noreturn]] void Report(const QString& what, const QString& query, const QStringList& found,
                         const QStringList& expected) {
    std::fprintf(stderr, "%s\nquery: %s\nfound (%lld):    %s\nexpected (%lld): %s\n",
                 Printable(what).constData(), Printable(query).constData(),
                 static_cast<long long>(found.size()),
                 found.join(QLatin1Char(' ')).toUtf8().constData(),
                 static_cast<long long>(expected.size()),
                 expected.join(QLatin1Char(' ')).toUtf8().constData());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FixedStore& fixed = TheStore();
    const WindowState state = Decode(data, size);

    MemoryQueryControls controls;
    const std::array<ListControl*, kFilterCount> lists = {
        &controls.JornadaCbo,     &controls.EntidadCbo,    &controls.EjeTemCbo,
        &controls.SubtemaCbo,     &controls.CatSubTemaCbo, &controls.PerfilPonCbo,
        &controls.NormatividadCbo};
    QString query;
    QStringList found;
    const QStringList expected = fixed.reference.Folios(Meaning(state));
    try {
        for (size_t k = 0; k < kFilterCount; ++k) {
            Choose(*lists[k], *kAllEntries[k], state.filters[k]);
        }
        controls.BusquedaTxt.SetText(state.keyword);
        query = controls.Filters.SearchQueryText();
        found = StoreFolios(query);
    } catch (const StoreError& error) {
        Report(error.description(), query, found, expected);
    }
    if (found != expected) {
        Report(QStringLiteral("the search and the reference disagree"), query, found, expected);
    }
    return 0;
}
