#pragma once

#include <QString>

#include "ListControl.h"
#include "SearchQuery.h"

namespace ponencias {

// The list texts the query window sends to the store, exactly as the window has always sent
// them.
inline const QString kJornadaListQuery =
    QStringLiteral("SELECT DISTINCT NUM_JORNADA AS Jornada FROM PONENCIAS");
inline const QString kEntidadListQuery =
    QStringLiteral("SELECT DISTINCT ESTADO AS Entidades FROM PONENCIAS");
inline const QString kEjeListQuery =
    QStringLiteral("SELECT DISTINCT eje_tematico FROM ponencias ORDER BY eje_tematico asc");
inline const QString kPerfilListQuery =
    QStringLiteral("SELECT DISTINCT PERFIL_PONENTE AS Perfil FROM PONENCIAS");
// One select per law column, leaving out "" and "No aplica"; the union lists each law once.
inline const QString kNormatividadListQuery = QStringLiteral(
    "SELECT DISTINCT normatividad_modificar_1 FROM ponencias WHERE normatividad_modificar_1 <> '' "
    "AND  normatividad_modificar_1 not in('No aplica') union "
    "SELECT DISTINCT normatividad_modificar_2 FROM ponencias WHERE normatividad_modificar_2 <> '' "
    "AND  normatividad_modificar_2 not in('No aplica') union "
    "SELECT DISTINCT normatividad_modificar_3 FROM ponencias WHERE normatividad_modificar_3 <> '' "
    "AND  normatividad_modificar_3 not in('No aplica')  union "
    "SELECT DISTINCT normatividad_modificar_4 FROM ponencias WHERE normatividad_modificar_4 <> '' "
    "AND  normatividad_modificar_4 not in('No aplica') union "
    "SELECT DISTINCT normatividad_modificar_5 FROM ponencias WHERE normatividad_modificar_5 <> '' "
    "AND  normatividad_modificar_5 not in('No aplica') ");
inline const QString kSubtemaListQueryStart =
    QStringLiteral("SELECT DISTINCT SUBTEMA FROM ponencias WHERE SUBTEMA <> '' AND EJE_TEMATICO='");
inline const QString kCatSubTemaListQueryStart = QStringLiteral(
    "SELECT DISTINCT CATEGORIA_SUBTEMA AS categoria FROM ponencias WHERE CATEGORIA_SUBTEMA <> '' "
    "AND SUBTEMA='");

// The query window's filters, by the names of its controls.
struct QueryControls {
    ListControl* JornadaCbo = nullptr;
    ListControl* EntidadCbo = nullptr;
    ListControl* EjeTemCbo = nullptr;
    ListControl* SubtemaCbo = nullptr;     // editable
    ListControl* CatSubTemaCbo = nullptr;  // editable
    ListControl* PerfilPonCbo = nullptr;
    ListControl* NormatividadCbo = nullptr;
    TextControl* BusquedaTxt = nullptr;
};

// The filter lists as the user knows them: the label the window shows beside each (without its
// colon), the option the companion takes for it, its control and whether the user may type any
// text into it (the two topic combos) rather than choose one of its entries.
struct FilterList {
    const char* label;
    const char* option;
    const char* controlName;
    ListControl* QueryControls::*control;
    bool editable;
};
inline constexpr FilterList kFilterLists[] = {
    {"Número de jornada", "jornada", "JornadaCbo", &QueryControls::JornadaCbo, false},
    {"País o entidad", "entidad", "EntidadCbo", &QueryControls::EntidadCbo, false},
    {"Eje temático", "eje", "EjeTemCbo", &QueryControls::EjeTemCbo, false},
    {"Subtema", "subtema", "SubtemaCbo", &QueryControls::SubtemaCbo, true},
    {"Categoría por subtema", "categoria", "CatSubTemaCbo", &QueryControls::CatSubTemaCbo, true},
    {"Perfil del ponente", "perfil", "PerfilPonCbo", &QueryControls::PerfilPonCbo, false},
    {"Normatividad a modificar", "normatividad", "NormatividadCbo", &QueryControls::NormatividadCbo,
     false},
};
// The keyword box's label.
inline constexpr const char* kKeywordLabel = "Búsqueda por palabra";

// Everything the query window decides, written once for the window and for the companion: the
// filling of the lists, the topic cascade, the Clear command and the search. Store failures
// are not caught here; they reach the caller as StoreError.
class QueryFilters {
public:
    // Installs the reactions of the axis and subtopic lists; the controls must outlive this.
    explicit QueryFilters(const QueryControls& controls);
    ~QueryFilters();
    Q_DISABLE_COPY(QueryFilters)

    const QueryControls& Controls() const { return c_; }

    // Empties the seven lists and the keyword box.
    void ClearFilterLists();
    // Opens the store and fills the five top-level lists, each headed by its all-entry and on
    // it. The connection stays open, as every loading leaves it.
    void LoadFilterLists();

    // The cascade's refills: the store is opened afresh and released at the end.
    void FillSubtemaList(const QString& axis);
    void FillCatSubTemaList(const QString& subtopic);

    // The Clear command: every drop-down list back on its all-entry, the two topic combos with
    // no entry selected (still showing their all-entry texts), the keyword box empty.
    void ClearCriteria();

    SearchCriteria ReadSearchCriteria() const;
    // The search's query text for the criteria as they stand.
    QString SearchQueryText() const;

private:
    void EjeTemChosen();
    void SubtemaChosen();
    void FillDependentList(ListControl& list, const QString& queryStart, const QString& value,
                           const QString& allEntry, const char* field);

    QueryControls c_;
};

}  // namespace ponencias
