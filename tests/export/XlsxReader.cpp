#include "XlsxReader.h"

#include <zip.h>

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <stdexcept>

namespace ponencias::test {

namespace {

std::pair<int, int> ParseRef(QStringView ref) {
    int column = 0;
    qsizetype at = 0;
    while (at < ref.size() && ref[at].isLetter()) {
        column = column * 26 + (ref[at].unicode() - 'A' + 1);
        ++at;
    }
    return {ref.mid(at).toInt(), column};
}

// Texts in the file write control characters (and a literal "_x") as "_xHHHH_".
QString DecodeEscapes(const QString& text) {
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString decoded;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        decoded += text.mid(from, match.capturedStart() - from);
        decoded += QChar(match.captured(1).toUShort(nullptr, 16));
        from = match.capturedEnd();
    }
    return decoded + text.mid(from);
}

struct Font {
    QString name, color;
    double size = 0;
    bool bold = false, underline = false;
};

zip_t* OpenZip(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        throw std::runtime_error("not a zip file");
    }
    return archive;
}

// The styles part: fonts, fills and borders, then the cell formats that combine them, which are
// what a cell's style index points at.
class StylesReader {
public:
    std::vector<XlsxStyle> read(const QByteArray& part) {
        QXmlStreamReader xml(part);
        QString section;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == section) {
                section.clear();
            }
            if (!xml.isStartElement()) {
                continue;
            }
            const auto name = xml.name();
            const auto attr = xml.attributes();
            if (name == u"fonts" || name == u"fills" || name == u"borders" || name == u"cellXfs" ||
                name == u"cellStyleXfs") {
                section = name.toString();
            } else if (section == u"fonts") {
                readFont(name, attr);
            } else if (section == u"fills") {
                readFill(name, attr);
            } else if (section == u"borders") {
                readBorder(name, attr);
            } else if (section == u"cellXfs") {
                readCellFormat(name, attr);
            }
        }
        if (xml.hasError()) {
            throw std::runtime_error("styles.xml: " + xml.errorString().toStdString());
        }
        return styles_;
    }

private:
    void readFont(QStringView name, const QXmlStreamAttributes& attr) {
        if (name == u"font") {
            fonts_.emplace_back();
        } else if (name == u"name") {
            fonts_.back().name = attr.value(QLatin1String("val")).toString();
        } else if (name == u"sz") {
            fonts_.back().size = attr.value(QLatin1String("val")).toDouble();
        } else if (name == u"b") {
            fonts_.back().bold = attr.value(QLatin1String("val")) != u"0";
        } else if (name == u"u") {
            fonts_.back().underline = true;
        } else if (name == u"color") {
            fonts_.back().color = attr.value(QLatin1String("rgb")).toString();
        }
    }

    void readFill(QStringView name, const QXmlStreamAttributes& attr) {
        if (name == u"fill") {
            fills_.emplace_back();
        } else if (name == u"fgColor") {
            fills_.back() = attr.value(QLatin1String("rgb")).toString();
        }
    }

    void readBorder(QStringView name, const QXmlStreamAttributes& attr) {
        if (name == u"border") {
            borders_.emplace_back();
            return;
        }
        static const QStringList sides = {QStringLiteral("left"), QStringLiteral("right"),
                                          QStringLiteral("top"), QStringLiteral("bottom")};
        if (const int side = int(sides.indexOf(name.toString())); side >= 0) {
            borders_.back()[size_t(side)] = attr.value(QLatin1String("style")).toString();
        }
    }

    void readCellFormat(QStringView name, const QXmlStreamAttributes& attr) {
        if (name == u"xf") {
            XlsxStyle& style = styles_.emplace_back();
            const Font& font = fonts_.at(attr.value(QLatin1String("fontId")).toUInt());
            style.fontName = font.name;
            style.fontSize = font.size;
            style.bold = font.bold;
            style.underline = font.underline;
            style.fontColor = font.color;
            style.fillColor = fills_.at(attr.value(QLatin1String("fillId")).toUInt());
            const auto& border = borders_.at(attr.value(QLatin1String("borderId")).toUInt());
            style.borderLeft = border[0];
            style.borderRight = border[1];
            style.borderTop = border[2];
            style.borderBottom = border[3];
            style.numberFormat = attr.value(QLatin1String("numFmtId")).toInt();
        } else if (name == u"alignment" && !styles_.empty()) {
            XlsxStyle& style = styles_.back();
            style.horizontal = attr.value(QLatin1String("horizontal")).toString();
            style.vertical = attr.value(QLatin1String("vertical")).toString();
            style.wrap = attr.value(QLatin1String("wrapText")) == u"1";
            style.rotation = attr.value(QLatin1String("textRotation")).toInt();
            style.indent = attr.value(QLatin1String("indent")).toInt();
            style.shrink = attr.value(QLatin1String("shrinkToFit")) == u"1";
        }
    }

    std::vector<Font> fonts_;
    std::vector<QString> fills_;
    std::vector<std::array<QString, 4>> borders_;
    std::vector<XlsxStyle> styles_;
};

// The shared strings, when the writer used them; none otherwise.
QStringList ReadSharedStrings(const QString& path) {
    QStringList shared;
    const QByteArray strings = ReadZipPart(path, QStringLiteral("xl/sharedStrings.xml"));
    if (strings.isEmpty()) {
        return shared;
    }
    QXmlStreamReader xml(strings);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == u"si") {
            shared << QString();
        } else if (xml.isStartElement() && xml.name() == u"t") {
            shared.back() += DecodeEscapes(xml.readElementText());
        } else {
            xml.readNext();
        }
    }
    return shared;
}

// The sheet's relationships: link targets by id.
QMap<QString, QString> ReadLinkTargets(const QString& path) {
    QMap<QString, QString> targets;
    QXmlStreamReader xml(ReadZipPart(path, QStringLiteral("xl/worksheets/_rels/sheet1.xml.rels")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
            targets[xml.attributes().value(QLatin1String("Id")).toString()] =
                xml.attributes().value(QLatin1String("Target")).toString();
        }
    }
    return targets;
}

XlsxSheet::Row RowOf(const QXmlStreamAttributes& attr) {
    XlsxSheet::Row row;
    row.height = attr.value(QLatin1String("ht")).toDouble();
    row.customHeight = attr.value(QLatin1String("customHeight")) == u"1";
    row.style = attr.value(QLatin1String("customFormat")) == u"1"
                    ? attr.value(QLatin1String("s")).toInt()
                    : -1;
    return row;
}

XlsxSheet::Column ColumnOf(const QXmlStreamAttributes& attr) {
    return {attr.value(QLatin1String("min")).toInt(), attr.value(QLatin1String("max")).toInt(),
            attr.value(QLatin1String("width")).toDouble(),
            attr.value(QLatin1String("style")).toInt()};
}

// The cell a "c" element opens, its type and style set; its value follows in child elements.
XlsxCell& StartCell(XlsxSheet& sheet, const QXmlStreamAttributes& attr) {
    XlsxCell& cell = sheet.cells[ParseRef(attr.value(QLatin1String("r")))];
    cell.type = attr.hasAttribute(QLatin1String("t")) ? attr.value(QLatin1String("t")).toString()
                                                      : QStringLiteral("n");
    cell.style = attr.value(QLatin1String("s")).toInt();
    return cell;
}

// The first sheet's rows, columns, cells, links and view, into `sheet`.
void ReadSheetPart(const QByteArray& part, const QStringList& shared,
                   const QMap<QString, QString>& targets, XlsxSheet& sheet) {
    QXmlStreamReader xml(part);
    XlsxCell* cell = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const auto name = xml.name();
        const auto attr = xml.attributes();
        if (name == u"row") {
            sheet.rows[attr.value(QLatin1String("r")).toInt()] = RowOf(attr);
        } else if (name == u"col") {
            sheet.columns.push_back(ColumnOf(attr));
        } else if (name == u"c") {
            cell = &StartCell(sheet, attr);
        } else if (name == u"v" && cell) {
            const QString v = xml.readElementText();
            cell->value = cell->type == u"s" ? shared.value(v.toInt()) : v;
        } else if (name == u"f" && cell) {
            cell->formula = xml.readElementText();
        } else if (name == u"t" && cell) {
            cell->value += DecodeEscapes(xml.readElementText());
        } else if (name == u"hyperlink") {
            sheet.links[ParseRef(attr.value(QLatin1String("ref")))] =
                targets.value(attr.value(QLatin1String("r:id")).toString());
        } else if (name == u"pane") {
            sheet.paneState = attr.value(QLatin1String("state")).toString();
            sheet.paneTopLeft = attr.value(QLatin1String("topLeftCell")).toString();
            sheet.paneYSplit = attr.value(QLatin1String("ySplit")).toDouble();
            sheet.paneXSplit = attr.value(QLatin1String("xSplit")).toDouble();
        } else if (name == u"selection") {
            sheet.activeCell = attr.value(QLatin1String("activeCell")).toString();
            sheet.selectedRange = attr.value(QLatin1String("sqref")).toString();
        }
    }
    if (xml.hasError()) {
        throw std::runtime_error("sheet1.xml: " + xml.errorString().toStdString());
    }
}

}  // namespace

std::vector<std::pair<QString, QByteArray>> ReadZipEntries(const QString& path, bool stored) {
    zip_t* archive = OpenZip(path);
    std::vector<std::pair<QString, QByteArray>> entries;
    const zip_flags_t flags = stored ? ZIP_FL_COMPRESSED : 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_file_t* file = zip_stat_index(archive, zip_uint64_t(i), 0, &stat) == 0
                               ? zip_fopen_index(archive, zip_uint64_t(i), flags)
                               : nullptr;
        QByteArray data(qsizetype(stored ? stat.comp_size : stat.size), '\0');
        const zip_int64_t read =
            file ? zip_fread(file, data.data(), zip_uint64_t(data.size())) : -1;
        if (file) {
            zip_fclose(file);
        }
        if (read != data.size()) {
            zip_close(archive);
            throw std::runtime_error("unreadable zip entry");
        }
        entries.emplace_back(QString::fromUtf8(stat.name), data);
    }
    zip_close(archive);
    return entries;
}

QByteArray ReadZipPart(const QString& path, const QString& part) {
    for (auto& [name, bytes] : ReadZipEntries(path, false)) {
        if (name == part) {
            return bytes;
        }
    }
    return {};
}

XlsxSheet ReadXlsx(const QString& path) {
    XlsxSheet sheet;
    sheet.styles = StylesReader().read(ReadZipPart(path, QStringLiteral("xl/styles.xml")));
    const QStringList shared = ReadSharedStrings(path);
    const QMap<QString, QString> targets = ReadLinkTargets(path);
    ReadSheetPart(ReadZipPart(path, QStringLiteral("xl/worksheets/sheet1.xml")), shared, targets,
                  sheet);
    return sheet;
}

int XlsxSheet::maxRow() const {
    return cells.isEmpty() ? 0 : cells.lastKey().first;
}

const XlsxCell* XlsxSheet::cell(int row, int column) const& {
    auto found = cells.constFind({row, column});
    return found == cells.constEnd() ? nullptr : &*found;
}

QString XlsxSheet::text(int row, int column) const {
    const XlsxCell* c = cell(row, column);
    return c ? c->value : QString();
}

namespace {

// Control characters, backslashes and line breaks written as escapes, so one cell is one line.
QString Escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch == QLatin1Char('\\')) {
            out += QStringLiteral("\\\\");
        } else if (ch.unicode() < 0x20 || ch.unicode() == 0x7f) {
            out += QStringLiteral("\\x%1").arg(ch.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += ch;
        }
    }
    return out;
}

QString Described(const XlsxStyle& s) {
    const auto flag = [](bool on, const char* name) {
        return on ? QLatin1String(name) : QLatin1String();
    };
    return QStringList{QStringLiteral("font=") + s.fontName,
                       QString::number(s.fontSize) + flag(s.bold, "/b") + flag(s.underline, "/u"),
                       s.fontColor,
                       QStringLiteral("fill=") + s.fillColor,
                       QStringLiteral("border=") + s.borderLeft,
                       s.borderRight,
                       s.borderTop,
                       s.borderBottom,
                       QStringLiteral("align=") + s.horizontal,
                       s.vertical + flag(s.wrap, "/wrap") + flag(s.shrink, "/shrink"),
                       QStringLiteral("numfmt=%1 rot=%2 indent=%3")
                           .arg(s.numberFormat)
                           .arg(s.rotation)
                           .arg(s.indent)}
        .join(QLatin1Char(' '));
}

}  // namespace

QStringList CanonicalDump(const XlsxSheet& sheet) {
    QStringList lines;
    const auto styleName = [&](int index) {
        return index < 0 ? QStringLiteral("-") : Described(sheet.styles.at(size_t(index)));
    };
    for (const auto& column : sheet.columns) {
        lines << QStringLiteral("col %1-%2 width=%3 ")
                         .arg(column.min)
                         .arg(column.max)
                         .arg(column.width, 0, 'g', 17) +
                     styleName(column.style);
    }
    for (auto row = sheet.rows.begin(); row != sheet.rows.end(); ++row) {
        lines << QStringLiteral("row %1 height=%2%3 ")
                         .arg(row.key())
                         .arg(row->height, 0, 'g', 17)
                         .arg(row->customHeight ? QLatin1String("/custom") : QLatin1String()) +
                     styleName(row->style);
    }
    for (auto cell = sheet.cells.begin(); cell != sheet.cells.end(); ++cell) {
        lines << QStringLiteral("cell %1,%2 ").arg(cell.key().first).arg(cell.key().second) +
                     cell->type + QStringLiteral(" [") + Escaped(cell->value) +
                     QStringLiteral("] formula=[") + Escaped(cell->formula) +
                     QStringLiteral("] ") + styleName(cell->style);
    }
    for (auto link = sheet.links.begin(); link != sheet.links.end(); ++link) {
        lines << QStringLiteral("link %1,%2 ").arg(link.key().first).arg(link.key().second) +
                     link.value();
    }
    lines << QStringLiteral("pane ") + sheet.paneState + QLatin1Char(' ') + sheet.paneTopLeft +
                 QStringLiteral(" y=%1 x=%2").arg(sheet.paneYSplit).arg(sheet.paneXSplit);
    lines << QStringLiteral("selection ") + sheet.activeCell + QLatin1Char(' ') +
                 sheet.selectedRange;
    return lines;
}

}  // namespace ponencias::test
