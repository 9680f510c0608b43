#pragma once

// What the sample proposals are made of: the classification of the consultation (axes, subtopics,
// categories), where the proposals came from, who presented them, the laws they would modify,
// and the phrase banks their titles and summaries are composed from. Everything here is plain
// data, so the generator's output depends on nothing but this file and its fixed seed.

#include <vector>

namespace ponencias::sample {

struct Subtopic {
    const char* name;
    std::vector<const char*> categories;
    // What a proposal on this subtopic asks for, as an infinitive phrase ("reducir ...").
    std::vector<const char*> actions;
    int weight;
};

struct Axis {
    const char* name;
    std::vector<Subtopic> subtopics;
    // Laws a proposal of this axis usually names, most frequent first.
    std::vector<int> laws;
    int weight;
};

struct Place {
    const char* name;
    int weight;
};

struct Law {
    const char* name;
    const char* article;  // "la" or "el", for the summaries' closing sentence
};

// Indices into kLaws.
enum LawIndex {
    kCpeum,
    kCofipe,
    kLgsmime,
    kLopjf,
    kLfrt,
    kCpf,
    kLft,
    kLftaipg,
    kLgp,
    kLocg,
    kLfrasp,
    kLfsf,
    // Named by the planted proposals only.
    kLsem,
    kLge,
};

inline const std::vector<Law> kLaws = {
    {"Constitución Política de los Estados Unidos Mexicanos", "la"},
    {"Código Federal de Instituciones y Procedimientos Electorales", "el"},
    {"Ley General del Sistema de Medios de Impugnación en Materia Electoral", "la"},
    {"Ley Orgánica del Poder Judicial de la Federación", "la"},
    {"Ley Federal de Radio y Televisión", "la"},
    {"Código Penal Federal", "el"},
    {"Ley Federal de Telecomunicaciones", "la"},
    {"Ley Federal de Transparencia y Acceso a la Información Pública Gubernamental", "la"},
    {"Ley General de Población", "la"},
    {"Ley Orgánica del Congreso General de los Estados Unidos Mexicanos", "la"},
    {"Ley Federal de Responsabilidades Administrativas de los Servidores Públicos", "la"},
    {"Ley de Fiscalización Superior de la Federación", "la"},
    {"Ley del Servicio Exterior Mexicano", "la"},
    {"Ley General de Educación", "la"},
};

inline const std::vector<Axis> kAxes = {
    {"Procedimientos electorales",
     {
         {"Organización del proceso electoral",
          {"Calendario electoral", "Integración de los consejos electorales",
           "Duración del proceso electoral", "Homologación de fechas electorales",
           "Coordinación con los institutos electorales locales"},
          {"homologar las fechas de las elecciones federales y locales en una sola jornada",
           "reducir la duración del proceso electoral federal y el gasto que implica",
           "fortalecer la coordinación entre el Instituto Federal Electoral y los institutos "
           "electorales de los estados",
           "profesionalizar a los integrantes de los consejos locales y distritales",
           "trasladar la jornada electoral a un día domingo de junio para favorecer la "
           "participación"},
          6},
         {"Casillas y mesas directivas",
          {"Ubicación de casillas", "Capacitación de funcionarios de casilla",
           "Insaculación de ciudadanos", "Casillas especiales"},
          {"mejorar la capacitación de los ciudadanos que integran las mesas directivas de "
           "casilla",
           "aumentar el número de boletas disponibles en las casillas especiales",
           "revisar el procedimiento de insaculación para asegurar la participación de los "
           "ciudadanos seleccionados",
           "ubicar las casillas en lugares accesibles para personas con discapacidad y adultos "
           "mayores",
           "otorgar una compensación económica a los funcionarios de casilla"},
          5},
         {"Padrón electoral y credencial para votar",
          {"Actualización del padrón electoral", "Credencial para votar con fotografía",
           "Lista nominal de electores", "Cédula de identidad ciudadana"},
          {"depurar el padrón electoral de manera permanente con información del Registro "
           "Civil",
           "ampliar la vigencia de la credencial para votar con fotografía",
           "crear una cédula de identidad ciudadana que sustituya a la credencial para votar",
           "permitir la consulta de la lista nominal por medios electrónicos"},
          5},
         {"Voto de los mexicanos en el extranjero ('voto migrante')",
          {"Credencialización en el extranjero", "Voto por correo",
           "Voto electrónico desde el extranjero", "Representación política de los migrantes"},
          {"instalar módulos de credencialización en los consulados de México",
           "simplificar el registro de los mexicanos residentes en el extranjero en la lista "
           "nominal",
           "permitir el voto en embajadas y consulados además del voto postal",
           "crear una circunscripción especial para los mexicanos que residen fuera del país"},
          4},
         {"Documentación y material electoral",
          {"Boleta electoral", "Urna electrónica", "Líquido indeleble",
           "Actas de escrutinio y cómputo"},
          {"incorporar medidas de seguridad adicionales en las boletas electorales",
           "introducir de manera gradual la urna electrónica",
           "simplificar el formato de las actas de escrutinio y cómputo",
           "reutilizar el material electoral de procesos anteriores para abatir costos"},
          4},
         {"Emisión y validez del voto",
          {"Voto nulo", "Voto en blanco", "Segunda vuelta electoral", "Voto obligatorio"},
          {"contabilizar por separado el voto nulo y el voto en blanco",
           "establecer la segunda vuelta en la elección presidencial",
           "reconocer el voto nulo como una expresión legítima de inconformidad ciudadana",
           "establecer el voto obligatorio con sanciones administrativas",
           "repetir la elección cuando el voto nulo supere a la votación del candidato "
           "ganador"},
          4},
     },
     {kCofipe, kCpeum, kLgp},
     22},
    {"Generación y difusión de resultados electorales",
     {
         {"Programa de Resultados Electorales Preliminares",
          {"Operación del PREP", "Difusión del PREP", "Auditoría del PREP"},
          {"publicar en tiempo real las imágenes de las actas capturadas por el PREP",
           "someter el PREP a una auditoría externa antes de cada elección",
           "difundir los resultados preliminares sin interrupciones hasta recibir la última "
           "acta",
           "explicar a la ciudadanía el alcance y los límites de los resultados "
           "preliminares"},
          6},
         {"Conteos rápidos",
          {"Metodología de los conteos rápidos", "Difusión de conteos rápidos",
           "Comité técnico asesor"},
          {"dar a conocer los resultados del conteo rápido la misma noche de la elección",
           "publicar la metodología y la muestra de los conteos rápidos",
           "integrar el comité técnico asesor con especialistas propuestos por las "
           "universidades"},
          4},
         {"Cómputos distritales y recuento de votos",
          {"Recuento de votos", "Cómputo distrital", "Causales de recuento",
           "Cadena de custodia de paquetes electorales"},
          {"establecer el recuento total de votos cuando la diferencia entre el primero y el "
           "segundo lugar sea menor a un punto porcentual",
           "precisar las causales para abrir los paquetes electorales en los cómputos "
           "distritales",
           "garantizar la cadena de custodia de los paquetes electorales con vigilancia de "
           "los partidos",
           "adelantar el inicio de los cómputos distritales al día siguiente de la "
           "elección"},
          6},
         {"Encuestas y sondeos de opinión",
          {"Regulación de encuestas", "Encuestas de salida", "Periodo de veda de encuestas"},
          {"obligar a las empresas encuestadoras a registrar su metodología ante el Instituto "
           "Federal Electoral",
           "ampliar el periodo en que está prohibido difundir encuestas electorales",
           "sancionar la publicación de encuestas sin sustento metodológico"},
          3},
         {"Información y transparencia de resultados",
          {"Publicación de resultados por casilla", "Acceso a la información electoral",
           "Resguardo de boletas electorales"},
          {"publicar los resultados de cada casilla en la página electrónica del Instituto "
           "Federal Electoral",
           "conservar las boletas electorales durante un plazo razonable para su consulta",
           "garantizar el acceso ciudadano a toda la documentación electoral"},
          4},
     },
     {kCofipe, kCpeum, kLftaipg},
     13},
    {"Campañas, condiciones de equidad y medios de comunicación",
     {
         {"Duración de campañas y precampañas",
          {"Reducción de las campañas", "Regulación de precampañas",
           "Actos anticipados de campaña"},
          {"reducir la duración de las campañas electorales a sesenta días",
           "regular las precampañas y fijarles topes de gastos",
           "sancionar los actos anticipados de campaña con la negativa del registro"},
          6},
         {"Financiamiento",
          {"Topes de gastos de campaña", "Aportaciones privadas a campañas",
           "Gasto en propaganda electoral", "Rendición de cuentas de campaña"},
          {"reducir los topes de gastos de campaña",
           "limitar las aportaciones de simpatizantes a las campañas",
           "obligar a los candidatos a rendir cuentas de sus gastos antes de la jornada "
           "electoral",
           "prohibir las aportaciones en efectivo a las campañas electorales"},
          5},
         {"Acceso a radio y televisión",
          {"Compra de tiempo aire", "Tiempos oficiales del Estado",
           "Distribución de espacios entre partidos", "Debates entre candidatos",
           "Monitoreo de noticieros"},
          {"prohibir la compra de tiempo en radio y televisión por partidos y particulares",
           "utilizar exclusivamente los tiempos oficiales del Estado para la propaganda "
           "electoral",
           "hacer obligatorios los debates entre los candidatos a la Presidencia",
           "distribuir de manera equitativa los espacios en radio y televisión entre los "
           "partidos",
           "monitorear la cobertura de los noticieros durante las campañas"},
          7},
         {"Propaganda electoral",
          {"Propaganda negativa", "Propaganda en la vía pública", "Propaganda gubernamental",
           "Materiales de propaganda"},
          {"prohibir la propaganda que denigre a las instituciones o calumnie a las personas",
           "suspender la propaganda gubernamental durante las campañas electorales",
           "exigir que la propaganda impresa se elabore con materiales reciclables",
           "retirar la propaganda de la vía pública en un plazo breve después de la "
           "elección"},
          5},
         {"Equidad en la contienda",
          {"Intervención de servidores públicos", "Uso electoral de programas sociales",
           "Intervención de terceros"},
          {"impedir que los servidores públicos utilicen recursos públicos con fines "
           "electorales",
           "blindar los programas sociales durante los procesos electorales",
           "prohibir que particulares y organizaciones empresariales contraten propaganda "
           "electoral"},
          5},
     },
     {kCofipe, kCpeum, kLfrt, kLft},
     21},
    {"Régimen de partidos y agrupaciones políticas nacionales: prerrogativas y obligaciones",
     {
         {"Registro de partidos políticos",
          {"Requisitos de registro", "Pérdida del registro", "Porcentaje mínimo de votación"},
          {"elevar el porcentaje mínimo de votación para conservar el registro",
           "endurecer los requisitos para obtener el registro como partido político nacional",
           "liquidar de manera ordenada los bienes de los partidos que pierden su registro"},
          4},
         {"Financiamiento",
          {"Financiamiento público ordinario", "Financiamiento privado",
           "Reducción del financiamiento público",
           "Fórmula de distribución del "
           "financiamiento"},
          {"reducir el financiamiento público de los partidos políticos",
           "modificar la fórmula de distribución del financiamiento público",
           "limitar el financiamiento privado de los partidos",
           "vincular el financiamiento público al número de votos obtenidos"},
          6},
         {"Fiscalización de partidos",
          {"Órgano de fiscalización", "Secreto bancario y fiduciario", "Informes anuales",
           "Auditorías a partidos"},
          {"crear un órgano técnico de fiscalización con autonomía de gestión",
           "eliminar el secreto bancario, fiduciario y fiscal en la fiscalización de los "
           "partidos",
           "publicar íntegramente los informes anuales de los partidos políticos"},
          5},
         {"Democracia interna",
          {"Selección de candidatos", "Derechos de los militantes",
           "Equidad de género en candidaturas", "Transparencia de los partidos"},
          {"obligar a los partidos a elegir a sus candidatos mediante elecciones internas",
           "garantizar la equidad de género en las candidaturas",
           "sujetar a los partidos políticos a las obligaciones de transparencia",
           "crear órganos internos de defensa de los derechos de los militantes"},
          5},
         {"Coaliciones y frentes",
          {"Coaliciones electorales", "Transferencia de votos", "Candidaturas comunes"},
          {"prohibir la transferencia de votos entre los partidos coaligados",
           "permitir las candidaturas comunes en las elecciones federales",
           "exigir que cada partido coaligado aparezca con su propio emblema en la boleta"},
          3},
         {"Agrupaciones políticas nacionales",
          {"Registro de agrupaciones", "Prerrogativas de las agrupaciones",
           "Desaparición de las agrupaciones"},
          {"suprimir el financiamiento público de las agrupaciones políticas nacionales",
           "revisar la figura de las agrupaciones políticas nacionales",
           "exigir a las agrupaciones un programa verificable de educación cívica"},
          2},
     },
     {kCofipe, kCpeum, kLftaipg, kLfsf},
     19},
    {"Participación ciudadana",
     {
         {"Mecanismos de democracia directa",
          {"Referéndum", "Plebiscito", "Iniciativa ciudadana ('iniciativa popular')",
           "Revocación de mandato"},
          {"incorporar el referéndum y el plebiscito en la Constitución",
           "reconocer el derecho de los ciudadanos a presentar iniciativas de ley",
           "establecer la revocación de mandato para los cargos de elección popular"},
          6},
         {"Candidaturas independientes",
          {"Requisitos para candidatos independientes",
           "Financiamiento de candidaturas independientes",
           "Acceso a medios de candidatos independientes"},
          {"permitir las candidaturas independientes en todos los cargos de elección popular",
           "otorgar financiamiento público a los candidatos independientes",
           "fijar un número razonable de firmas de apoyo para registrar candidaturas "
           "independientes"},
          6},
         {"Educación cívica",
          {"Educación cívica en escuelas", "Campañas de promoción del voto", "Cultura democrática"},
          {"incluir la educación cívica electoral en los planes de estudio de educación "
           "básica",
           "realizar campañas permanentes de promoción del voto informado",
           "fomentar la cultura democrática desde la infancia"},
          4},
         {"Observación electoral",
          {"Observadores nacionales", "Visitantes extranjeros", "Acreditación de observadores"},
          {"simplificar la acreditación de los observadores electorales",
           "otorgar recursos públicos a las organizaciones de observación electoral",
           "permitir que los observadores presencien los cómputos distritales"},
          3},
         {"Participación de grupos específicos",
          {"Participación de jóvenes", "Participación de mujeres",
           "Pueblos y comunidades indígenas", "Personas con discapacidad"},
          {"crear distritos electorales que favorezcan la representación indígena",
           "reducir la edad mínima para ser diputado",
           "traducir la documentación electoral a las lenguas indígenas",
           "elaborar boletas en sistema Braille para personas con discapacidad visual"},
          4},
     },
     {kCpeum, kCofipe, kLocg},
     15},
    {"Resolución de disputas, justicia electoral y sanciones",
     {
         {"Medios de impugnación",
          {"Juicio de inconformidad", "Recurso de apelación",
           "Juicio para la protección de los derechos político-electorales",
           "Plazos de impugnación"},
          {"ampliar los plazos para interponer los medios de impugnación",
           "permitir a los ciudadanos impugnar directamente los resultados electorales",
           "simplificar los requisitos de procedencia de los medios de impugnación"},
          5},
         {"Nulidad de elecciones",
          {"Causales de nulidad", "Nulidad abstracta", "Nulidad de votación en casilla"},
          {"incorporar en la ley la causal abstracta de nulidad de la elección",
           "precisar las causales de nulidad de la elección presidencial",
           "anular la elección cuando se rebasen los topes de gastos de campaña"},
          4},
         {"Tribunal Electoral",
          {"Integración del Tribunal Electoral", "Control de constitucionalidad",
           "Jurisprudencia electoral"},
          {"facultar al Tribunal Electoral para inaplicar leyes electorales contrarias a la "
           "Constitución",
           "renovar de manera escalonada a los magistrados del Tribunal Electoral",
           "hacer públicas las sesiones de resolución del Tribunal Electoral"},
          3},
         {"Delitos electorales",
          {"Tipificación de delitos electorales",
           "Fiscalía Especializada para la Atención de Delitos Electorales",
           "Compra y coacción del voto"},
          {"aumentar las penas por la compra y coacción del voto",
           "dotar de autonomía a la Fiscalía Especializada para la Atención de Delitos "
           "Electorales",
           "tipificar como delito el uso de programas sociales con fines electorales"},
          4},
         {"Régimen sancionador",
          {"Procedimiento sancionador", "Sanciones a partidos políticos",
           "Sanciones a servidores públicos", "Sanciones a medios de comunicación"},
          {"establecer un procedimiento sancionador expedito durante las campañas",
           "aumentar las sanciones económicas a los partidos que violen la ley",
           "sancionar a los concesionarios de radio y televisión que difundan propaganda "
           "ilegal"},
          4},
     },
     {kLgsmime, kCofipe, kCpeum, kLopjf, kCpf, kLfrasp},
     10},
};

// The 32 federal entities as of 2007, weighted roughly by their share of the proposals.
inline const std::vector<Place> kStates = {
    {"Aguascalientes", 14}, {"Baja California", 22}, {"Baja California Sur", 9},
    {"Campeche", 10},       {"Coahuila", 19},        {"Colima", 9},
    {"Chiapas", 24},        {"Chihuahua", 21},       {"Distrito Federal", 70},
    {"Durango", 15},        {"Guanajuato", 27},      {"Guerrero", 21},
    {"Hidalgo", 18},        {"Jalisco", 34},         {"México", 52},
    {"Michoacán", 24},      {"Morelos", 16},         {"Nayarit", 11},
    {"Nuevo León", 25},     {"Oaxaca", 23},          {"Puebla", 28},
    {"Querétaro", 16},      {"Quintana Roo", 12},    {"San Luis Potosí", 18},
    {"Sinaloa", 19},        {"Sonora", 18},          {"Tabasco", 17},
    {"Tamaulipas", 20},     {"Tlaxcala", 13},        {"Veracruz", 32},
    {"Yucatán", 17},        {"Zacatecas", 14},
};

inline const std::vector<Place> kCountries = {
    {"Estados Unidos", 60}, {"España", 9},    {"Canadá", 8}, {"Francia", 6}, {"Alemania", 5},
    {"Reino Unido", 4},     {"Argentina", 3}, {"Chile", 3},  {"Italia", 2},
};

inline const std::vector<Place> kProfiles = {
    {"Ciudadano", 38},
    {"Académico", 14},
    {"Representante de partido político", 10},
    {"Funcionario electoral", 9},
    {"Estudiante", 9},
    {"Organización de la sociedad civil", 8},
    {"Servidor público", 5},
    {"Legislador", 3},
    {"Periodista", 2},
};

// First sentence: what the speaker finds wrong. "{t}" is the category, in lower case.
inline const std::vector<const char*> kDiagnoses = {
    "la regulación vigente en materia de {t} es insuficiente y genera desconfianza entre la "
    "ciudadanía",
    "en las elecciones federales de 2006 se hicieron evidentes deficiencias importantes en lo "
    "relativo a {t}",
    "el rubro de {t} no ha recibido la atención que merece en la legislación vigente",
    "las disposiciones sobre {t} son ambiguas y se prestan a interpretaciones contradictorias",
    "en materia de {t} se encuentra uno de los aspectos que más controversia generaron en el "
    "último proceso electoral",
    "la experiencia internacional muestra que el tema de {t} puede regularse de manera más "
    "eficaz que como lo hace la legislación mexicana",
    "existe una percepción ciudadana desfavorable respecto de {t}, que debilita la legitimidad "
    "de las autoridades electorales",
    "la reforma electoral de 1996 dejó pendientes varios asuntos relacionados con {t}",
    "el marco jurídico en materia de {t} no corresponde ya a la realidad política del país",
};

inline const std::vector<const char*> kSpeakerVerbs = {
    "señala", "considera", "sostiene", "afirma", "expone", "advierte", "plantea",
};

inline const std::vector<const char*> kPurposes = {
    "con el fin de fortalecer la confianza ciudadana en las instituciones electorales",
    "a fin de garantizar la equidad en la contienda",
    "para reducir el costo de la democracia mexicana",
    "para dar certeza y transparencia a los resultados electorales",
    "con objeto de ampliar los derechos políticos de los ciudadanos",
    "para evitar que se repitan los conflictos postelectorales de 2006",
    "de modo que la autoridad electoral cuente con herramientas más eficaces",
    "para acercar las instituciones a los ciudadanos",
};

// Optional third sentence. Some quote a phrase between apostrophes, as speakers did.
inline const std::vector<const char*> kElaborations = {
    "Como antecedente cita la experiencia de otros países de América Latina y de Europa.",
    "Destaca que la reforma debe acompañarse de una amplia campaña de difusión.",
    "Subraya que el costo de esta medida sería menor que sus beneficios para la vida "
    "democrática del país.",
    "Considera indispensable que los partidos políticos asuman su responsabilidad frente a lo "
    "que llama 'la crisis de representación'.",
    "Menciona que el Instituto Federal Electoral cuenta con la capacidad técnica para aplicar "
    "la propuesta.",
    "Advierte que, de no atenderse el problema, aumentarán el abstencionismo y el voto nulo.",
    "Sugiere que la autoridad electoral elabore un diagnóstico previo y consulte a "
    "especialistas.",
    "Recuerda que la ciudadanía reclama instituciones más cercanas y menos costosas.",
    "Propone además que la medida se evalúe al término del siguiente proceso electoral "
    "federal.",
    "Insiste en que no se trata de 'una reforma más', sino de recuperar la confianza de los "
    "electores.",
    "Añade que la propuesta fue discutida previamente con organizaciones de su comunidad.",
};

inline const std::vector<const char*> kTitleTails = {
    "una propuesta ciudadana", "diagnóstico y propuestas", "hacia una reforma integral",
    "retos y propuestas",      "una reforma necesaria",    "propuesta de modificación legal",
};

inline const std::vector<const char*> kActionTails = {
    "propuesta de reforma",
    "una alternativa viable",
    "una demanda ciudadana",
    "una medida necesaria",
};

}  // namespace ponencias::sample
