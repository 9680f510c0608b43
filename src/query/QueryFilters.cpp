#include "QueryFilters.h"

#include <QStringList>

#include "store/ProposalStore.h"

namespace ponencias {

namespace {

// Runs one list query on the open store and gives the named field of every row, in the order
// the store returns them; a null value arrives as the empty text.
QStringList ColumnValues(const QString& sql, const char* field) {
    QStringList values;
    const QString name = QLatin1String(field);
    ForEachRow(sql, [&](const Recordset& rows) { values.append(rows.Fields(name).Text()); });
    return values;
}

// A list headed by its all-entry, then the values unsorted and with empty ones kept.
void FillList(ListControl& list, const QString& allEntry, const QStringList& values) {
    list.AddItem(allEntry);
    for (const QString& value : values) {
        list.AddItem(value);
    }
}

// Every refill ends with the store released, whichever way it leaves.
struct StoreRelease {
    StoreRelease() = default;
    Q_DISABLE_COPY(StoreRelease)
    ~StoreRelease() { ReleaseProposalStore(); }
};

}  // namespace

QueryFilters::QueryFilters(const QueryControls& controls) : c_(controls) {
    c_.EjeTemCbo->SetChoiceReaction([this] { EjeTemChosen(); });
    c_.SubtemaCbo->SetChoiceReaction([this] { SubtemaChosen(); });
}

QueryFilters::~QueryFilters() {
    c_.EjeTemCbo->SetChoiceReaction({});
    c_.SubtemaCbo->SetChoiceReaction({});
}

void QueryFilters::ClearFilterLists() {
    c_.JornadaCbo->Clear();
    c_.EntidadCbo->Clear();
    c_.EjeTemCbo->Clear();
    c_.SubtemaCbo->Clear();
    c_.CatSubTemaCbo->Clear();
    c_.PerfilPonCbo->Clear();
    c_.NormatividadCbo->Clear();
    c_.BusquedaTxt->SetText(QString());
}

void QueryFilters::LoadFilterLists() {
    OpenProposalStore();
    struct TopLevelList {
        ListControl* list;
        const QString& sql;
        const char* field;
        const QString& allEntry;
    };
    const TopLevelList lists[] = {
        {c_.JornadaCbo, kJornadaListQuery, "Jornada", kTodasLasJornadas},
        {c_.EntidadCbo, kEntidadListQuery, "Entidades", kTodasLasEntidades},
        {c_.EjeTemCbo, kEjeListQuery, "eje_tematico", kTodosLosEjes},
        {c_.PerfilPonCbo, kPerfilListQuery, "Perfil", kTodosLosPonentes},
        {c_.NormatividadCbo, kNormatividadListQuery, "normatividad_modificar_1",
         kTodasLasNormatividades},
    };
    for (const TopLevelList& each : lists) {
        FillList(*each.list, each.allEntry, ColumnValues(each.sql, each.field));
        // For the axis list this is a choice: the topic lists are reset before the next fill.
        each.list->SetListIndex(0);
    }
}

void QueryFilters::EjeTemChosen() {
    if (c_.EjeTemCbo->ListIndex() == 0) {
        c_.SubtemaCbo->Clear();
        c_.CatSubTemaCbo->Clear();
        c_.SubtemaCbo->SetText(kTodosLosSubtemas);
        c_.CatSubTemaCbo->SetText(kTodasLasCategorias);
        return;
    }
    c_.EjeTemCbo->SetFocus();
    FillSubtemaList(c_.EjeTemCbo->Text());
}

void QueryFilters::SubtemaChosen() {
    if (c_.SubtemaCbo->ListIndex() == 0) {
        c_.CatSubTemaCbo->Clear();
        c_.CatSubTemaCbo->SetText(kTodasLasCategorias);
        return;
    }
    c_.SubtemaCbo->SetFocus();
    FillCatSubTemaList(c_.SubtemaCbo->Text());
}

void QueryFilters::FillSubtemaList(const QString& axis) {
    FillDependentList(*c_.SubtemaCbo, kSubtemaListQueryStart, axis, kTodosLosSubtemas, "subtema");
}

void QueryFilters::FillCatSubTemaList(const QString& subtopic) {
    FillDependentList(*c_.CatSubTemaCbo, kCatSubTemaListQueryStart, subtopic, kTodasLasCategorias,
                      "categoria");
}

void QueryFilters::FillDependentList(ListControl& list, const QString& queryStart,
                                     const QString& value, const QString& allEntry,
                                     const char* field) {
    OpenProposalStore();
    const StoreRelease release;
    list.Clear();
    if (value.isEmpty()) {
        return;
    }
    FillList(list, allEntry,
             ColumnValues(queryStart + SqlTextValue(value) + QLatin1Char('\''), field));
    // For the subtopic list this is a choice too: the category list is reset.
    list.SetListIndex(0);
}

void QueryFilters::ClearCriteria() {
    c_.JornadaCbo->SetListIndex(0);
    c_.EntidadCbo->SetListIndex(0);
    c_.EjeTemCbo->SetListIndex(0);
    c_.SubtemaCbo->SetListIndex(-1);
    c_.CatSubTemaCbo->SetListIndex(-1);
    c_.PerfilPonCbo->SetListIndex(0);
    c_.NormatividadCbo->SetListIndex(0);
    c_.BusquedaTxt->SetText(QString());
}

SearchCriteria QueryFilters::ReadSearchCriteria() const {
    const auto choice = [](const ListControl* list) {
        return ListChoice{list->ListIndex(), list->Text()};
    };
    SearchCriteria criteria;
    criteria.Jornada = choice(c_.JornadaCbo);
    criteria.Entidad = choice(c_.EntidadCbo);
    criteria.EjeTematico = choice(c_.EjeTemCbo);
    criteria.Subtema = c_.SubtemaCbo->Text();
    criteria.Categoria = c_.CatSubTemaCbo->Text();
    criteria.Perfil = choice(c_.PerfilPonCbo);
    criteria.Normatividad = choice(c_.NormatividadCbo);
    criteria.Palabra = c_.BusquedaTxt->Text();
    return criteria;
}

QString QueryFilters::SearchQueryText() const {
    return BuildSearchQuery(ReadSearchCriteria());
}

}  // namespace ponencias
