#include "ColumnDescriptions.h"

#include <cstring>

namespace ponencias::documents {

namespace {

const ColumnDescription kDescriptions[] = {
    {"FOLIO", nullptr, "Identificador numérico",
     "Número de folio de la ponencia, asignado al recibirla. Identifica el documento completo "
     "de la ponencia, publicado con el folio como nombre y la extensión .doc; en la hoja de "
     "resultados, el título vincula a ese documento.",
     ", registrado como texto"},
    {"ID", nullptr, "Identificador numérico",
     "Número de registro de la ponencia en la base de datos, asignado durante la captura. Es "
     "independiente del folio.",
     ", registrado como texto"},
    {"ESTADO", "País o entidad", "Cualitativa nominal",
     "Entidad federativa en que se presentó la ponencia o, para los mexicanos residentes en el "
     "extranjero, el país desde el que la presentaron."},
    {"EDAD", nullptr, "Cuantitativa discreta (años cumplidos)",
     "Edad del ponente al presentar la propuesta.", ", registrada como texto"},
    {"SEXO", nullptr, "Cualitativa nominal dicotómica", "Sexo del ponente."},
    {"PERFIL_PONENTE", "Perfil del ponente", "Cualitativa nominal",
     "Perfil del ponente según su actividad o su relación con la materia electoral."},
    {"NUM_JORNADA", "Número de jornada", "Cualitativa nominal (número de evento)",
     "Número de la jornada de la consulta en que se presentó la ponencia. Se compara como "
     "texto: en la hoja de resultados las jornadas se ordenan como texto (1, 10, 11, …, 2, "
     "20, …).",
     ", registrada como texto"},
    {"EJE_TEMATICO", "Eje temático", "Cualitativa nominal",
     "Primer nivel de la clasificación temática: el eje de la consulta al que corresponde la "
     "ponencia."},
    {"SUBTEMA", "Subtema", "Cualitativa nominal, dependiente del eje temático",
     "Segundo nivel de la clasificación temática: el asunto de la ponencia dentro de su eje. "
     "En la ventana de consulta, la lista de subtemas muestra los del eje elegido."},
    {"CATEGORIA_SUBTEMA", "Categoría por subtema", "Cualitativa nominal, dependiente del subtema",
     "Tercer nivel de la clasificación temática: el asunto concreto de la ponencia dentro de su "
     "subtema. En la ventana de consulta, la lista de categorías muestra las del subtema "
     "elegido."},
    {"TITULO", nullptr, "Texto libre",
     "Título de la ponencia. En la hoja de resultados es un vínculo al documento de la "
     "ponencia."},
    {"RESUMEN", "Búsqueda por palabra", "Texto libre",
     "Síntesis de la ponencia: el problema que expone el ponente, lo que propone y, en su caso, "
     "las leyes que implicaría reformar. La búsqueda por palabra se hace en este texto."},
    {"NORMATIVIDAD_MODIFICAR_1", "Normatividad a modificar", "Cualitativa nominal",
     "Primera ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_2", "Normatividad a modificar", "Cualitativa nominal",
     "Segunda ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_3", "Normatividad a modificar", "Cualitativa nominal",
     "Tercera ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_4", "Normatividad a modificar", "Cualitativa nominal",
     "Cuarta ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_5", "Normatividad a modificar", "Cualitativa nominal",
     "Quinta ley o reglamento que la ponencia propone modificar. Se toma en cuenta al consultar "
     "por normatividad, pero no aparece en la hoja de resultados."},
};

}  // namespace

const ColumnDescription* DescriptionOf(const char* name) {
    for (const ColumnDescription& description : kDescriptions) {
        if (std::strcmp(description.name, name) == 0) {
            return &description;
        }
    }
    return nullptr;
}

}  // namespace ponencias::documents
