// The glossary: the terms of the consultation, of the electoral law of 2007 that the proposals
// discuss, and of the database and its query tool.

#include <QChar>
#include <vector>

#include "Documents.h"

namespace ponencias::documents {

namespace {

struct Entry {
    const char* term;
    const char* definition;  // rich text
};

// In alphabetical order; the letter headings are made from the first letter of each term.
const std::vector<Entry> kEntries = {
    {"Acta de escrutinio y cómputo",
     "Documento en el que la mesa directiva de casilla asienta, al cierre de la votación, el "
     "número de votos emitidos en favor de cada partido o candidato, los votos nulos y las "
     "boletas sobrantes. Es la base del Programa de Resultados Electorales Preliminares y de los "
     "cómputos distritales."},
    {"Agrupación política nacional",
     "Forma de asociación ciudadana con registro ante el Instituto Federal Electoral que "
     "contribuye al desarrollo de la vida democrática y de la cultura política. Sólo puede "
     "participar en las elecciones federales mediante acuerdos de participación con un partido "
     "político. Es materia del cuarto eje temático."},
    {"Base de datos",
     "Conjunto organizado de registros. La base de datos de las Mireolas es el archivo "
     "<i>Ponencias.mdb</i>, que se encuentra en la carpeta del programa; contiene la tabla "
     "PONENCIAS, con un registro por ponencia. La herramienta sólo la lee: nunca la modifica."},
    {"Boleta electoral",
     "Documento impreso con los emblemas de los partidos y los nombres de los candidatos, en el "
     "que el elector marca su preferencia. Su diseño y sus medidas de seguridad los aprueba el "
     "Consejo General del Instituto Federal Electoral."},
    {"Búsqueda por palabra",
     "Criterio de la ventana de consulta que localiza las ponencias cuyo resumen contiene el "
     "texto anotado, sin distinguir mayúsculas de minúsculas. El texto se busca tal como se "
     "escribe: <i>voto nulo</i> encuentra los resúmenes que contienen esas dos palabras "
     "juntas y en ese orden. Los signos % y _ actúan como comodines."},
    {"Candidatura independiente",
     "Postulación de un ciudadano a un cargo de elección popular sin el respaldo de un partido "
     "político. En 2007 la legislación federal reservaba a los partidos el derecho de registrar "
     "candidatos, por lo que muchas ponencias proponen reconocerla (eje de participación "
     "ciudadana)."},
    {"Casilla",
     "Lugar en el que los electores de una sección electoral emiten su voto el día de la "
     "jornada electoral. La atiende una mesa directiva integrada por ciudadanos insaculados y "
     "capacitados. Las casillas especiales reciben el voto de los electores que se encuentran "
     "fuera de su sección."},
    {"Categoría por subtema",
     "Tercer nivel de la clasificación temática de las ponencias: precisa, dentro de un subtema, "
     "el asunto concreto de la propuesta (columna CATEGORIA_SUBTEMA). En la ventana de consulta "
     "la lista de categorías se llena con las del subtema elegido."},
    {"Coalición",
     "Unión de dos o más partidos políticos para postular a los mismos candidatos en una "
     "elección, con una plataforma común. Su regulación, en particular el reparto de los votos "
     "entre los partidos coaligados, es objeto de varias ponencias."},
    {"COFIPE",
     "Siglas del Código Federal de Instituciones y Procedimientos Electorales, la ley que "
     "reglamenta las normas constitucionales sobre los derechos político-electorales, los "
     "partidos políticos, la organización de las elecciones federales y el Instituto Federal "
     "Electoral. Durante la consulta regía el código publicado en 1990, con sus reformas; es la "
     "ley que con más frecuencia proponen modificar las ponencias."},
    {"Cómputo distrital",
     "Suma de los resultados anotados en las actas de escrutinio y cómputo de las casillas de "
     "un distrito electoral, que realiza el consejo distrital a partir del miércoles siguiente "
     "a la jornada electoral. Es el resultado oficial de la elección en el distrito."},
    {"Consulta de ponencias",
     "Función principal de la herramienta: permite elegir criterios (jornada, entidad o país, "
     "eje temático, subtema, categoría, perfil del ponente, normatividad y palabra clave) y "
     "presenta en una hoja de cálculo las ponencias que los cumplen todos a la vez. Un criterio "
     "que se deja en su primera opción («Todas las…», «Todos los…») no restringe la búsqueda."},
    {"Conteo rápido",
     "Procedimiento estadístico que estima los resultados de una elección a partir de los "
     "resultados de una muestra representativa de casillas, la misma noche de la jornada "
     "electoral."},
    {"CPEUM",
     "Siglas de la Constitución Política de los Estados Unidos Mexicanos, norma suprema del "
     "país. Sus artículos 35, 36, 41, 60, 99 y 116, entre otros, establecen los derechos "
     "políticos, el sistema de partidos, la autoridad electoral y la justicia electoral."},
    {"Credencial para votar con fotografía",
     "Documento que expide el Registro Federal de Electores al ciudadano inscrito en el padrón "
     "electoral y que es indispensable para votar. En México se utiliza también como "
     "identificación oficial."},
    {"Delito electoral",
     "Conducta que lesiona la libertad, el secreto o la autenticidad del voto, o el correcto "
     "desarrollo de las elecciones, y que la ley sanciona penalmente. Los delitos electorales "
     "federales se encuentran en el Código Penal Federal; los investiga la Fiscalía "
     "Especializada para la Atención de Delitos Electorales (FEPADE)."},
    {"Distrito electoral",
     "Cada una de las 300 demarcaciones territoriales en que se divide el país para elegir a "
     "los diputados de mayoría relativa. Cada distrito cuenta con un consejo distrital del "
     "Instituto Federal Electoral."},
    {"Edad",
     "Años cumplidos del ponente al presentar su propuesta, tal como se registraron "
     "(columna EDAD)."},
    {"Eje temático",
     "Primer nivel de la clasificación de las ponencias (columna EJE_TEMATICO). Las Mireolas "
     "se organizaron en seis ejes: 1. Procedimientos electorales; 2. Generación y difusión de "
     "resultados electorales; 3. Campañas, condiciones de equidad y medios de comunicación; "
     "4. Régimen de partidos y agrupaciones políticas nacionales: prerrogativas y obligaciones; "
     "5. Participación ciudadana; 6. Resolución de disputas, justicia electoral y sanciones."},
    {"Entidad federativa",
     "Cada uno de los 31 estados y el Distrito Federal, que integran la Federación. La columna "
     "ESTADO indica la entidad, o el país en el caso de los mexicanos residentes en el "
     "extranjero, en que se presentó la ponencia; en la ventana de consulta aparece como «País "
     "o entidad»."},
    {"FEPADE",
     "Siglas de la Fiscalía Especializada para la Atención de Delitos Electorales, órgano de la "
     "Procuraduría General de la República encargado de investigar y perseguir los delitos "
     "electorales federales."},
    {"Financiamiento público",
     "Recursos del erario que reciben los partidos políticos para sus actividades ordinarias "
     "permanentes, sus campañas electorales y sus actividades específicas. Su monto y la "
     "fórmula para distribuirlo son tema frecuente de las ponencias, tanto en el eje de "
     "campañas como en el de partidos políticos."},
    {"Fiscalización",
     "Revisión de los ingresos y egresos de los partidos políticos y de sus campañas por la "
     "autoridad electoral, para verificar que se ajusten a la ley y a los topes de gastos."},
    {"Folio",
     "Número que identifica cada ponencia (columna FOLIO), del 1 al 3420. El documento completo "
     "de la ponencia se publica con el folio como nombre (por ejemplo, <i>125.doc</i>); en la "
     "hoja de resultados, el título de cada ponencia es un vínculo a ese documento, salvo en "
     "unas cuantas ponencias que no tienen documento publicado."},
    {"Hoja de resultados",
     "Libro de hoja de cálculo que la herramienta crea en cada consulta con resultados: una "
     "fila de encabezados y una fila por ponencia, con los títulos vinculados a los documentos. "
     "La hoja queda abierta para que el usuario la revise, la guarde o la imprima."},
    {"ID",
     "Número de registro de la ponencia en la base de datos, asignado durante la captura "
     "(columna ID). No coincide necesariamente con el folio."},
    {"IFE",
     "Siglas del Instituto Federal Electoral, organismo público autónomo, creado en 1990, "
     "responsable de organizar las elecciones federales, de administrar el padrón electoral y "
     "de vigilar a los partidos políticos nacionales."},
    {"Insaculación",
     "Sorteo por el que se elige a los ciudadanos que integrarán las mesas directivas de "
     "casilla, a partir de la lista nominal de cada sección."},
    {"Jornada",
     "Cada uno de los eventos de las Mireolas en que se recibieron y expusieron ponencias, "
     "identificado por su número (columna NUM_JORNADA, «Número de jornada» en la ventana de "
     "consulta). No debe confundirse con la jornada electoral."},
    {"Jornada electoral",
     "Día en que se celebran las elecciones y los ciudadanos acuden a votar. Para las "
     "elecciones federales, en 2007 era el primer domingo de julio del año de la elección."},
    {"LGSMIME",
     "Siglas de la Ley General del Sistema de Medios de Impugnación en Materia Electoral, que "
     "regula los juicios y recursos con que se combaten los actos y resoluciones de las "
     "autoridades electorales."},
    {"Lista nominal de electores",
     "Relación de los ciudadanos inscritos en el padrón electoral que ya cuentan con su "
     "credencial para votar, agrupados por distrito y sección. Sólo quienes aparecen en ella "
     "pueden votar en su casilla."},
    {"LOPJF",
     "Siglas de la Ley Orgánica del Poder Judicial de la Federación, que regula, entre otros "
     "órganos, la integración y el funcionamiento del Tribunal Electoral del Poder Judicial de "
     "la Federación."},
    {"Medios de impugnación",
     "Juicios y recursos con los que partidos, candidatos y ciudadanos combaten los actos y "
     "resoluciones de las autoridades electorales: entre otros, el recurso de apelación, el "
     "juicio de inconformidad, el juicio de revisión constitucional electoral y el juicio para "
     "la protección de los derechos político-electorales del ciudadano."},
    {"Mireolas",
     "Reflexión y Análisis para la Modernización y Reforma Electorales: consulta pública en la "
     "que ciudadanos, académicos, organizaciones, servidores públicos y representantes "
     "políticos presentaron, del 25 de abril al 27 de julio de 2007, 3420 propuestas en materia "
     "electoral, tanto en el territorio nacional como en el extranjero."},
    {"No aplica",
     "Valor de las columnas de normatividad que indica que la ponencia no propone modificar una "
     "ley en esa columna. Igual que una celda vacía, no nombra ninguna ley y no aparece en la "
     "lista «Normatividad a modificar»."},
    {"Normatividad a modificar",
     "Leyes o reglamentos que la ponencia propone reformar, hasta cinco, uno por columna "
     "(NORMATIVIDAD_MODIFICAR_1 a NORMATIVIDAD_MODIFICAR_5). Al consultar por normatividad se "
     "obtienen las ponencias que nombran esa ley en cualquiera de las cinco columnas; la hoja de "
     "resultados muestra las cuatro primeras."},
    {"Nulidad electoral",
     "Declaración de la autoridad jurisdiccional que deja sin efecto la votación recibida en "
     "una casilla o una elección completa, por haberse presentado alguna de las causas que "
     "señala la ley."},
    {"Observador electoral",
     "Ciudadano mexicano acreditado ante la autoridad electoral para presenciar los actos del "
     "proceso electoral e informar sobre ellos. Los extranjeros participan como visitantes "
     "extranjeros."},
    {"Padrón electoral",
     "Registro de los ciudadanos que han solicitado su inscripción para obtener la credencial "
     "para votar con fotografía. Lo administra el Registro Federal de Electores del Instituto "
     "Federal Electoral."},
    {"Partido político nacional",
     "Entidad de interés público, con registro ante el Instituto Federal Electoral, que "
     "promueve la participación del pueblo en la vida democrática y hace posible el acceso de "
     "los ciudadanos al poder público. Recibe prerrogativas y está sujeto a obligaciones "
     "(cuarto eje temático)."},
    {"Perfil del ponente",
     "Característica del ponente según su actividad o su relación con la materia electoral "
     "(columna PERFIL_PONENTE): ciudadano, académico, estudiante, funcionario electoral, "
     "servidor público, legislador, periodista, representante de partido político u "
     "organización de la sociedad civil."},
    {"Ponencia",
     "Propuesta escrita en materia electoral presentada en las Mireolas. Cada ponencia es un "
     "registro de la base de datos, con su título, su resumen, su clasificación temática, los "
     "datos de quien la presentó y las leyes que propone modificar."},
    {"Ponente",
     "Persona u organización que presentó una ponencia. La base registra su edad, su sexo y su "
     "perfil, además de la entidad o el país en que presentó la propuesta."},
    {"Precampaña",
     "Conjunto de actividades que realizan los aspirantes a una candidatura dentro de los "
     "procesos internos de selección de los partidos, antes del registro de candidatos."},
    {"PREP",
     "Siglas del Programa de Resultados Electorales Preliminares, que capta y difunde, a partir "
     "del cierre de las casillas, los datos de las actas de escrutinio y cómputo conforme "
     "llegan a los centros de acopio. Sus resultados no son oficiales."},
    {"Prerrogativas",
     "Derechos que la ley otorga a los partidos políticos para cumplir sus fines: "
     "financiamiento público, acceso a la radio y la televisión, régimen fiscal especial y "
     "franquicias postales y telegráficas."},
    {"Propaganda electoral",
     "Escritos, publicaciones, imágenes, grabaciones y expresiones que difunden los partidos y "
     "los candidatos durante la campaña para presentar sus candidaturas."},
    {"Recuento de votos",
     "Nuevo escrutinio y cómputo de los votos de una o varias casillas, que se realiza ante el "
     "órgano electoral o jurisdiccional cuando los resultados son dudosos o el margen entre los "
     "contendientes es estrecho."},
    {"Referéndum y plebiscito",
     "Mecanismos de democracia directa: en el referéndum los ciudadanos aprueban o rechazan una "
     "ley o una reforma; en el plebiscito, un acto o una decisión del gobierno. Junto con la "
     "iniciativa ciudadana ('iniciativa popular') y la revocación de mandato, forman parte del "
     "eje de participación ciudadana."},
    {"Resumen",
     "Síntesis de la ponencia elaborada al clasificarla (columna RESUMEN): el problema que "
     "expone el ponente, lo que propone y, en su caso, las leyes que implicaría reformar. Es el "
     "texto en que se busca la palabra clave."},
    {"Sexo", "Sexo del ponente, registrado como «Hombre» o «Mujer» (columna SEXO)."},
    {"Subtema",
     "Segundo nivel de la clasificación temática (columna SUBTEMA): agrupa, dentro de un eje, "
     "las ponencias sobre un mismo asunto. Un mismo nombre de subtema puede aparecer en dos "
     "ejes con categorías distintas, como «Financiamiento», que se trata en el eje de campañas "
     "y en el de partidos políticos."},
    {"TEPJF",
     "Siglas del Tribunal Electoral del Poder Judicial de la Federación, máxima autoridad "
     "jurisdiccional en materia electoral, salvo en las acciones de inconstitucionalidad. Se "
     "integra por una Sala Superior y salas regionales; resuelve en forma definitiva las "
     "impugnaciones de las elecciones federales y califica la elección presidencial."},
    {"Tipología de variables",
     "Documento que acompaña a esta herramienta y describe cada columna de la tabla PONENCIAS: "
     "su significado, su tipo y los valores que toma."},
    {"Título",
     "Nombre de la ponencia (columna TITULO). En la hoja de resultados es un vínculo al "
     "documento completo de la ponencia."},
    {"Tope de gastos de campaña",
     "Cantidad máxima que un partido y sus candidatos pueden gastar en la campaña de una "
     "elección, fijada por la autoridad electoral."},
    {"Voto de los mexicanos en el extranjero",
     "Derecho de los ciudadanos mexicanos que residen fuera del país a votar en la elección de "
     "Presidente de la República, ejercido por primera vez en 2006 por correo postal. Las "
     "ponencias lo tratan en el subtema «Voto de los mexicanos en el extranjero ('voto "
     "migrante')»."},
    {"Voto en blanco",
     "Voto que se emite sin marcar ninguna opción en la boleta. En la legislación de 2007 se "
     "contaba como voto nulo."},
    {"Voto nulo",
     "Voto que no puede asignarse a ningún partido o candidato, porque la boleta se marcó en "
     "más de un emblema, no se marcó o se depositó en la urna de otra elección. Varias "
     "ponencias proponen contarlo aparte o reconocerlo como expresión de inconformidad."},
};

const char* kAcronyms[][2] = {
    {"CPEUM", "Constitución Política de los Estados Unidos Mexicanos"},
    {"COFIPE", "Código Federal de Instituciones y Procedimientos Electorales"},
    {"FEPADE", "Fiscalía Especializada para la Atención de Delitos Electorales"},
    {"IFE", "Instituto Federal Electoral"},
    {"LGSMIME", "Ley General del Sistema de Medios de Impugnación en Materia Electoral"},
    {"LOPJF", "Ley Orgánica del Poder Judicial de la Federación"},
    {"PREP", "Programa de Resultados Electorales Preliminares"},
    {"TEPJF", "Tribunal Electoral del Poder Judicial de la Federación"},
};

// The letter an entry is filed under: its first letter without accent.
QChar Initial(const QString& term) {
    const QString first = term.left(1).normalized(QString::NormalizationForm_D);
    return first.at(0).toUpper();
}

}  // namespace

QString GlossaryHtml() {
    QString html = QStringLiteral(
        "<h1>Glosario de términos</h1>"
        "<p class=\"subtitulo\">Mireolas · Reflexión y Análisis para la Modernización y Reforma "
        "Electorales</p>"
        "<p>Este glosario reúne los términos que emplean la base de datos de las Mireolas y la "
        "herramienta de consulta de ponencias: los de la propia consulta, los de la "
        "clasificación de las propuestas y los de la materia electoral que las ponencias "
        "discuten. Las definiciones se refieren al marco jurídico vigente durante el periodo de "
        "presentación de las propuestas, del 25 de abril al 27 de julio de 2007.</p>"
        "<p>Entre paréntesis se indica, cuando corresponde, la columna de la tabla PONENCIAS en "
        "que se registra el dato; la <i>Tipología de variables</i> describe cada columna con "
        "detalle.</p>");

    html += QStringLiteral(
        "<h2>Siglas</h2><table width=\"100%\" cellspacing=\"0\">"
        "<tr><th width=\"18%\">Sigla</th><th>Significado</th></tr>");
    for (const auto& acronym : kAcronyms) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(QString::fromUtf8(acronym[0]), QString::fromUtf8(acronym[1]));
    }
    html += QStringLiteral("</table>");

    QChar letter;
    for (const Entry& entry : kEntries) {
        const QString term = QString::fromUtf8(entry.term);
        if (Initial(term) != letter) {
            letter = Initial(term);
            html += QStringLiteral("<h2>%1</h2>").arg(letter);
        }
        html += QStringLiteral("<p class=\"termino\"><b>%1.</b> %2</p>")
                    .arg(term.toHtmlEscaped(), QString::fromUtf8(entry.definition));
    }
    return html;
}

}  // namespace ponencias::documents
