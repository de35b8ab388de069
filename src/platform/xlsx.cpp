#include "platform/xlsx.h"

#include "platform/xlsx_refs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>

namespace {

const char *const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char *const kRelTypeBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char *const kSheetMarker = "tevo-sheet-data";
const unsigned kParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;
const unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration;

using Attr = std::pair<std::string, std::string>;

// --- XML helpers -------------------------------------------------------------

const char *localName(const char *name)
{
    const char *colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool is(const pugi::xml_node &node, const char *local)
{
    return node.type() == pugi::node_element && std::strcmp(localName(node.name()), local) == 0;
}

pugi::xml_node child(const pugi::xml_node &node, const char *local)
{
    for (pugi::xml_node c : node.children())
        if (is(c, local))
            return c;
    return {};
}

std::string prefixOf(const pugi::xml_node &node)
{
    const char *name = node.name();
    const char *colon = std::strchr(name, ':');
    return colon ? std::string(name, colon - name + 1) : std::string();
}

// Schemas fix the order of children; a new child goes before the first one
// that must follow it.
pugi::xml_node childInOrder(pugi::xml_node parent, const char *local, const std::vector<const char *> &order)
{
    if (pugi::xml_node existing = child(parent, local))
        return existing;
    const auto position = [&](const char *name) {
        for (std::size_t i = 0; i < order.size(); ++i)
            if (std::strcmp(order[i], name) == 0)
                return int(i);
        return -1;
    };
    const int mine = position(local);
    const std::string name = prefixOf(parent) + local;
    for (pugi::xml_node c : parent.children()) {
        if (c.type() == pugi::node_element && position(localName(c.name())) > mine)
            return parent.insert_child_before(name.c_str(), c);
    }
    return parent.append_child(name.c_str());
}

void setAttr(pugi::xml_node node, const char *name, const std::string &value)
{
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    a.set_value(value.c_str());
}

const std::vector<const char *> kWorksheetOrder = {"sheetPr",
                                                   "dimension",
                                                   "sheetViews",
                                                   "sheetFormatPr",
                                                   "cols",
                                                   "sheetData",
                                                   "sheetCalcPr",
                                                   "sheetProtection",
                                                   "protectedRanges",
                                                   "scenarios",
                                                   "autoFilter",
                                                   "sortState",
                                                   "dataConsolidate",
                                                   "customSheetViews",
                                                   "mergeCells",
                                                   "phoneticPr",
                                                   "conditionalFormatting",
                                                   "dataValidations",
                                                   "hyperlinks",
                                                   "printOptions",
                                                   "pageMargins",
                                                   "pageSetup",
                                                   "headerFooter",
                                                   "rowBreaks",
                                                   "colBreaks",
                                                   "customProperties",
                                                   "cellWatches",
                                                   "ignoredErrors",
                                                   "smartTags",
                                                   "drawing",
                                                   "legacyDrawing",
                                                   "legacyDrawingHF",
                                                   "picture",
                                                   "oleObjects",
                                                   "controls",
                                                   "webPublishItems",
                                                   "tableParts",
                                                   "extLst"};

const std::vector<const char *> kWorkbookOrder = {"fileVersion",    "fileSharing",
                                                  "workbookPr",     "workbookProtection",
                                                  "bookViews",      "sheets",
                                                  "functionGroups", "externalReferences",
                                                  "definedNames",   "calcPr",
                                                  "oleSize",        "customWorkbookViews",
                                                  "pivotCaches",    "smartTagPr",
                                                  "smartTagTypes",  "webPublishing",
                                                  "fileRecoveryPr", "webPublishObjects",
                                                  "extLst"};

const std::vector<const char *> kFontOrder = {"b",       "i",      "strike", "condense",  "extend",
                                              "outline", "shadow", "u",      "vertAlign", "sz",
                                              "color",   "name",   "family", "charset",   "scheme"};

const std::vector<const char *> kStylesOrder = {"numFmts",      "fonts",   "fills",      "borders",
                                                "cellStyleXfs", "cellXfs", "cellStyles", "dxfs",
                                                "tableStyles",  "colors",  "extLst"};

struct StringWriter final : pugi::xml_writer
{
    std::string text;
    void write(const void *data, size_t size) override { text.append(static_cast<const char *>(data), size); }
};

std::string serialize(const pugi::xml_document &doc)
{
    StringWriter w;
    if (doc.first_child().type() != pugi::node_declaration)
        w.text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    doc.save(w, "", kSaveFlags, pugi::encoding_utf8);
    return std::move(w.text);
}

std::string serialize(const pugi::xml_node &node)
{
    StringWriter w;
    node.print(w, "", kSaveFlags, pugi::encoding_utf8);
    return std::move(w.text);
}

void escapeInto(std::string &out, const std::string &text, bool attribute)
{
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            if (attribute)
                out += "&quot;";
            else
                out += c;
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' && c != '\r') {
                char buf[16];
                std::snprintf(buf, sizeof buf, "_x%04X_", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
}

std::string toStd(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), std::size_t(utf8.size()));
}

QString fromStd(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void appendInt(std::string &out, long value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void appendDouble(std::string &out, double value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

double toDouble(const char *text)
{
    double value = 0;
    const std::size_t size = std::strlen(text);
    const char *begin = text;
    while (*begin == ' ')
        ++begin;
    std::from_chars(begin, text + size, value);
    return value;
}

// "xl/worksheets" + "../drawings/d.xml" → "xl/drawings/d.xml".
std::string resolvePart(const std::string &folder, const std::string &target)
{
    if (!target.empty() && target[0] == '/')
        return target.substr(1);
    std::vector<std::string> parts;
    std::string whole = folder.empty() ? target : folder + "/" + target;
    std::size_t i = 0;
    while (i <= whole.size()) {
        const std::size_t slash = std::min(whole.find('/', i), whole.size());
        const std::string part = whole.substr(i, slash - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = slash + 1;
    }
    std::string out;
    for (const auto &p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string folderOf(const std::string &part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash);
}

std::string relsPathOf(const std::string &part)
{
    const std::string folder = folderOf(part);
    const std::string file = part.substr(folder.empty() ? 0 : folder.size() + 1);
    return (folder.empty() ? "" : folder + "/") + "_rels/" + file + ".rels";
}

// Target of the relationship; "" when there is none.
std::string relTarget(const pugi::xml_node &rels, const std::string &id)
{
    for (pugi::xml_node r : rels.children())
        if (is(r, "Relationship") && id == r.attribute("Id").value())
            return r.attribute("Target").value();
    return {};
}

std::string addRelationship(pugi::xml_node rels, const std::string &type, const std::string &target)
{
    std::set<std::string> used;
    for (pugi::xml_node r : rels.children())
        used.insert(r.attribute("Id").value());
    int n = 1;
    while (used.count("rId" + std::to_string(n)))
        ++n;
    const std::string id = "rId" + std::to_string(n);
    pugi::xml_node r = rels.append_child((prefixOf(rels) + "Relationship").c_str());
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = (kRelTypeBase + type).c_str();
    r.append_attribute("Target") = target.c_str();
    return id;
}

void newRelsDocument(pugi::xml_document &doc)
{
    doc.load_string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>",
                    kParseFlags);
}

// --- cells -------------------------------------------------------------------

enum class Kind : unsigned char { Blank, Number, Text, Shared, Bool, Error };

struct Formula
{
    std::string text;
    std::string arrayRef; // set for array formulas
};

struct Cell
{
    int col = 0;
    int style = 0;
    Kind kind = Kind::Blank;
    double num = 0;
    std::string text;
    std::unique_ptr<Formula> formula;

    Cell() = default;
    Cell(Cell &&) = default;
    Cell &operator=(Cell &&) = default;
    Cell clone() const
    {
        Cell c;
        c.col = col;
        c.style = style;
        c.kind = kind;
        c.num = num;
        c.text = text;
        if (formula)
            c.formula = std::make_unique<Formula>(*formula);
        return c;
    }
};

struct Row
{
    std::vector<Attr> attrs; // as read, without r and spans
    std::vector<Cell> cells; // ordered by column

    Row clone() const
    {
        Row r;
        r.attrs = attrs;
        r.cells.reserve(cells.size());
        for (const Cell &c : cells)
            r.cells.push_back(c.clone());
        return r;
    }
    const std::string *attr(const char *name) const
    {
        for (const auto &a : attrs)
            if (a.first == name)
                return &a.second;
        return nullptr;
    }
};

struct ColRange
{
    int min = 1;
    int max = 1;
    std::vector<Attr> attrs;
};

void putAttr(std::vector<Attr> &attrs, const std::string &name, const std::string &value)
{
    for (auto &a : attrs)
        if (a.first == name) {
            a.second = value;
            return;
        }
    attrs.emplace_back(name, value);
}

void dropAttr(std::vector<Attr> &attrs, const std::string &name)
{
    attrs.erase(std::remove_if(attrs.begin(), attrs.end(), [&](const Attr &a) { return a.first == name; }),
                attrs.end());
}

const std::string *findAttr(const std::vector<Attr> &attrs, const char *name)
{
    for (const auto &a : attrs)
        if (a.first == name)
            return &a.second;
    return nullptr;
}

// --- styles ------------------------------------------------------------------

enum class Change : unsigned { Bold, Italic, Size, Fill, Border, NumFmt, Wrap };

struct PartList
{
    pugi::xml_node parent;
    std::vector<pugi::xml_node> items;
    std::unordered_map<std::string, int> keys;

    void load(pugi::xml_node node, const char *itemName)
    {
        parent = node;
        for (pugi::xml_node c : node.children())
            if (is(c, itemName)) {
                keys.emplace(serialize(c), int(items.size()));
                items.push_back(c);
            }
    }
    // The index of an item equal to the new one, which is dropped, or of the new one.
    int intern(pugi::xml_node fresh)
    {
        const std::string key = serialize(fresh);
        const auto found = keys.find(key);
        if (found != keys.end()) {
            parent.remove_child(fresh);
            return found->second;
        }
        keys.emplace(key, int(items.size()));
        items.push_back(fresh);
        setAttr(parent, "count", std::to_string(items.size()));
        return int(items.size()) - 1;
    }
    pugi::xml_node copyOf(int index, const char *itemName)
    {
        if (index >= 0 && index < int(items.size()))
            return parent.append_copy(items[std::size_t(index)]);
        return parent.append_child((prefixOf(parent) + itemName).c_str());
    }
};

const char *const kEmptyStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

// The cell formats of the workbook. A changed format is a new entry made once
// per (format, change) and shared by every cell that asks for it.
class Styles
{
public:
    pugi::xml_document doc;
    bool changed = false;

    void load()
    {
        pugi::xml_node root = doc.document_element();
        auto section = [&](const char *name) { return childInOrder(root, name, kStylesOrder); };
        m_fonts.load(section("fonts"), "font");
        m_fills.load(section("fills"), "fill");
        m_borders.load(section("borders"), "border");
        m_xfs.load(section("cellXfs"), "xf");
        if (m_xfs.items.empty())
            m_xfs.intern(m_xfs.parent.append_child((prefixOf(root) + "xf").c_str()));
        if (pugi::xml_node numFmts = child(root, "numFmts"))
            for (pugi::xml_node f : numFmts.children())
                if (is(f, "numFmt"))
                    m_formats[f.attribute("numFmtId").as_int()] = f.attribute("formatCode").value();
    }

    int derive(int xf, Change change, long value)
    {
        const std::uint64_t key =
            (std::uint64_t(std::uint32_t(xf)) << 36) | (std::uint64_t(change) << 32) | std::uint32_t(value);
        const auto found = m_derived.find(key);
        if (found != m_derived.end())
            return found->second;
        const int result = make(xf, change, value);
        m_derived.emplace(key, result);
        return result;
    }

    int dateFormat()
    {
        for (const auto &[id, code] : m_formats)
            if (QString::fromStdString(code).compare(QLatin1String("DD.MM.YYYY"), Qt::CaseInsensitive) == 0)
                return id;
        int id = 164;
        while (m_formats.count(id))
            ++id;
        pugi::xml_node numFmts = childInOrder(doc.document_element(), "numFmts", kStylesOrder);
        pugi::xml_node f = numFmts.append_child((prefixOf(numFmts) + "numFmt").c_str());
        f.append_attribute("numFmtId") = id;
        f.append_attribute("formatCode") = "DD.MM.YYYY";
        m_formats[id] = "DD.MM.YYYY";
        setAttr(numFmts, "count", std::to_string(m_formats.size()));
        changed = true;
        return id;
    }

    bool isDate(int xf) const
    {
        const int id = xfNode(xf).attribute("numFmtId").as_int();
        if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47))
            return true;
        const auto found = m_formats.find(id);
        if (found == m_formats.end())
            return false;
        // Letters of dates outside quoted text and [colour] sections.
        bool quoted = false;
        int bracket = 0;
        for (const char c : found->second) {
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && c == '[')
                ++bracket;
            else if (!quoted && c == ']')
                --bracket;
            else if (!quoted && bracket == 0 && std::strchr("dDyY", c))
                return true;
        }
        return false;
    }

    // Font size and weight of a cell format, for fitting widths.
    std::pair<double, bool> font(int xf) const
    {
        const int id = xfNode(xf).attribute("fontId").as_int();
        if (id < 0 || id >= int(m_fonts.items.size()))
            return {11.0, false};
        const pugi::xml_node f = m_fonts.items[std::size_t(id)];
        const double size = child(f, "sz").attribute("val").as_double(11.0);
        const pugi::xml_node b = child(f, "b");
        return {size > 0 ? size : 11.0, b && b.attribute("val").as_bool(true)};
    }

private:
    pugi::xml_node xfNode(int xf) const
    {
        return xf >= 0 && xf < int(m_xfs.items.size()) ? m_xfs.items[std::size_t(xf)] : pugi::xml_node();
    }

    int make(int xf, Change change, long value)
    {
        changed = true;
        pugi::xml_node fresh = m_xfs.copyOf(xf, "xf");
        switch (change) {
        case Change::Bold:
        case Change::Italic:
        case Change::Size:
            setAttr(fresh, "fontId",
                    std::to_string(newFont(fresh.attribute("fontId").as_int(), change, value)));
            setAttr(fresh, "applyFont", "1");
            break;
        case Change::Fill:
            setAttr(fresh, "fillId", std::to_string(newFill(unsigned(value))));
            setAttr(fresh, "applyFill", "1");
            break;
        case Change::Border:
            setAttr(fresh, "borderId", std::to_string(newBorder(fresh.attribute("borderId").as_int())));
            setAttr(fresh, "applyBorder", "1");
            break;
        case Change::NumFmt:
            setAttr(fresh, "numFmtId", std::to_string(value));
            setAttr(fresh, "applyNumberFormat", "1");
            break;
        case Change::Wrap: {
            pugi::xml_node align = child(fresh, "alignment");
            if (!align)
                align = fresh.prepend_child((prefixOf(fresh) + "alignment").c_str());
            setAttr(align, "wrapText", "1");
            setAttr(fresh, "applyAlignment", "1");
            break;
        }
        }
        return m_xfs.intern(fresh);
    }

    int newFont(int base, Change change, long value)
    {
        pugi::xml_node f = m_fonts.copyOf(base, "font");
        const char *name = change == Change::Bold ? "b" : change == Change::Italic ? "i" : "sz";
        if (change == Change::Size) {
            setAttr(childInOrder(f, "sz", kFontOrder), "val", QString::number(value / 100.0).toStdString());
        } else if (value) {
            f.remove_child(child(f, name));
            childInOrder(f, name, kFontOrder);
        } else {
            f.remove_child(child(f, name));
        }
        return m_fonts.intern(f);
    }

    int newFill(unsigned rgb)
    {
        pugi::xml_node f = m_fills.parent.append_child((prefixOf(m_fills.parent) + "fill").c_str());
        const std::string p = prefixOf(m_fills.parent);
        pugi::xml_node pattern = f.append_child((p + "patternFill").c_str());
        pattern.append_attribute("patternType") = "solid";
        char color[16];
        std::snprintf(color, sizeof color, "FF%06X", rgb & 0xFFFFFF);
        pattern.append_child((p + "fgColor").c_str()).append_attribute("rgb") = color;
        pattern.append_child((p + "bgColor").c_str()).append_attribute("indexed") = 64;
        return m_fills.intern(f);
    }

    int newBorder(int base)
    {
        pugi::xml_node b = m_borders.copyOf(base, "border");
        const std::string p = prefixOf(m_borders.parent);
        const std::vector<const char *> order = {"left",   "start",    "right",    "end",       "top",
                                                 "bottom", "diagonal", "vertical", "horizontal"};
        for (const char *side : {"left", "right", "top", "bottom"}) {
            pugi::xml_node s = childInOrder(b, side, order);
            s.remove_children();
            setAttr(s, "style", "thin");
            s.append_child((p + "color").c_str()).append_attribute("indexed") = 64;
        }
        return m_borders.intern(b);
    }

    PartList m_fonts;
    PartList m_fills;
    PartList m_borders;
    PartList m_xfs;
    std::map<int, std::string> m_formats;
    std::unordered_map<std::uint64_t, int> m_derived;
};

} // namespace

// --- workbook data -----------------------------------------------------------

struct XlsxBookData
{
    struct Entry
    {
        std::string name;
        std::string data;
        bool removed = false;
    };

    QString path;
    std::vector<Entry> entries;
    std::map<std::string, std::size_t> index;
    pugi::xml_document contentTypes;
    pugi::xml_document workbook;
    pugi::xml_document workbookRels;
    std::string workbookPart;
    std::string stylesPart;
    Styles styles;
    std::vector<std::string> sharedStrings;
    bool date1904 = false;

    QString fail(const QString &what) const
    {
        return QStringLiteral("Файл %1: %2").arg(QDir::toNativeSeparators(path), what);
    }
    bool has(const std::string &name) const
    {
        const auto found = index.find(name);
        return found != index.end() && !entries[found->second].removed;
    }
    const std::string &part(const std::string &name) const
    {
        const auto found = index.find(name);
        if (found == index.end() || entries[found->second].removed)
            throw XlsxError(fail(QStringLiteral("нет части %1, это не книга Excel").arg(fromStd(name))));
        return entries[found->second].data;
    }
    void put(const std::string &name, std::string data)
    {
        const auto found = index.find(name);
        if (found != index.end()) {
            entries[found->second].data = std::move(data);
            entries[found->second].removed = false;
            return;
        }
        index[name] = entries.size();
        entries.push_back({name, std::move(data), false});
    }
    void remove(const std::string &name)
    {
        const auto found = index.find(name);
        if (found != index.end())
            entries[found->second].removed = true;
    }
    void parse(pugi::xml_document &doc, const std::string &name) const
    {
        const std::string &data = part(name);
        const pugi::xml_parse_result r =
            doc.load_buffer(data.data(), data.size(), kParseFlags, pugi::encoding_utf8);
        if (!r)
            throw XlsxError(
                fail(QStringLiteral("часть %1 испорчена: %2").arg(fromStd(name), r.description())));
    }
    // A part name not yet in the package: folder/stemN.ext.
    std::string freeName(const std::string &folder, const std::string &stem, const std::string &ext) const
    {
        for (int n = 1;; ++n) {
            const std::string name = folder + "/" + stem + std::to_string(n) + "." + ext;
            if (!has(name))
                return name;
        }
    }
    void addOverride(const std::string &part, const char *type)
    {
        pugi::xml_node types = contentTypes.document_element();
        pugi::xml_node o = types.append_child((prefixOf(types) + "Override").c_str());
        o.append_attribute("PartName") = ("/" + part).c_str();
        o.append_attribute("ContentType") = type;
    }
    void addDefault(const char *extension, const char *type)
    {
        pugi::xml_node types = contentTypes.document_element();
        for (pugi::xml_node d : types.children())
            if (is(d, "Default") && QString::fromUtf8(d.attribute("Extension").value())
                                            .compare(QLatin1String(extension), Qt::CaseInsensitive) == 0)
                return;
        pugi::xml_node d = types.prepend_child((prefixOf(types) + "Default").c_str());
        d.append_attribute("Extension") = extension;
        d.append_attribute("ContentType") = type;
    }
};

struct XlsxSheetData
{
    std::string name;
    std::string part;
    pugi::xml_document doc; // everything but the cells, the columns and the merged ranges
    std::map<int, Row> rows;
    std::vector<ColRange> cols;
    std::vector<XlsxRange> merges;
    pugi::xml_document rels;
    bool hasRels = false;
    pugi::xml_document drawing;
    std::string drawingPart;

    std::string relsPart() const { return relsPathOf(part); }
};

// --- reading -----------------------------------------------------------------

namespace {

void readZip(XlsxBookData &book)
{
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(book.path).constData(), ZIP_RDONLY, &code);
    if (!zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw XlsxError(
            QStringLiteral("Не удалось открыть файл %1: %2").arg(QDir::toNativeSeparators(book.path), text));
    }
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        zip_file_t *file = zip_stat_index(zip, zip_uint64_t(i), 0, &st) == 0
                               ? zip_fopen_index(zip, zip_uint64_t(i), 0)
                               : nullptr;
        std::string data(st.size, '\0');
        const bool ok = file && zip_fread(file, data.data(), st.size) == zip_int64_t(st.size);
        if (file)
            zip_fclose(file);
        if (!ok) {
            const QString text = QString::fromLocal8Bit(zip_strerror(zip));
            zip_discard(zip);
            throw XlsxError(QStringLiteral("Не удалось прочитать файл %1: %2")
                                .arg(QDir::toNativeSeparators(book.path), text));
        }
        book.put(st.name, std::move(data));
    }
    zip_discard(zip);
}

void readSharedStrings(XlsxBookData &book, const std::string &part)
{
    pugi::xml_document doc;
    book.parse(doc, part);
    for (pugi::xml_node si : doc.document_element().children()) {
        if (!is(si, "si"))
            continue;
        std::string text;
        for (pugi::xml_node c : si.children()) {
            if (is(c, "t"))
                text += c.child_value();
            else if (is(c, "r"))
                text += child(c, "t").child_value();
        }
        book.sharedStrings.push_back(std::move(text));
    }
}

std::string inlineText(const pugi::xml_node &node)
{
    std::string text;
    for (pugi::xml_node c : node.children()) {
        if (is(c, "t"))
            text += c.child_value();
        else if (is(c, "r"))
            text += child(c, "t").child_value();
    }
    return text;
}

struct SharedFormula
{
    int row;
    int col;
    std::string text;
};

void readCell(const pugi::xml_node &c, Cell &cell, int row, std::map<int, SharedFormula> &shared,
              std::vector<std::pair<Cell *, std::pair<int, int>>> &sharedUsers)
{
    cell.style = c.attribute("s").as_int();
    const std::string type = c.attribute("t").value();
    const pugi::xml_node v = child(c, "v");
    if (type == "inlineStr") {
        cell.kind = Kind::Text;
        cell.text = inlineText(child(c, "is"));
    } else if (type == "s") {
        cell.kind = Kind::Shared;
        cell.num = v.text().as_int();
    } else if (type == "str") {
        cell.kind = v ? Kind::Text : Kind::Blank;
        cell.text = v.child_value();
    } else if (type == "b") {
        cell.kind = Kind::Bool;
        cell.num = v.text().as_int();
    } else if (type == "e") {
        cell.kind = Kind::Error;
        cell.text = v.child_value();
    } else if (v) {
        cell.kind = Kind::Number;
        cell.num = toDouble(v.child_value());
    }
    const pugi::xml_node f = child(c, "f");
    if (!f)
        return;
    cell.formula = std::make_unique<Formula>();
    cell.formula->text = f.child_value();
    const std::string ftype = f.attribute("t").value();
    if (ftype == "array") {
        cell.formula->arrayRef = f.attribute("ref").value();
    } else if (ftype == "shared") {
        const int si = f.attribute("si").as_int();
        if (!cell.formula->text.empty())
            shared[si] = {row, cell.col, cell.formula->text};
        else
            sharedUsers.push_back({&cell, {row, si}});
    }
}

// Shared formulas become one formula per cell, so rows can move and be copied freely.
void expandShared(const std::map<int, SharedFormula> &shared,
                  const std::vector<std::pair<Cell *, std::pair<int, int>>> &users)
{
    for (const auto &[cell, rowAndSi] : users) {
        const auto master = shared.find(rowAndSi.second);
        if (master == shared.end()) {
            cell->formula.reset();
            continue;
        }
        cell->formula->text = xlsx::translateFormula(master->second.text, rowAndSi.first - master->second.row,
                                                     cell->col - master->second.col);
    }
}

void readSheetData(XlsxSheetData &sheet, pugi::xml_node sheetData)
{
    std::map<int, SharedFormula> shared;
    std::vector<std::pair<Cell *, std::pair<int, int>>> sharedUsers;
    int rowNumber = 0;
    for (pugi::xml_node r : sheetData.children()) {
        if (!is(r, "row"))
            continue;
        rowNumber = r.attribute("r").as_int(rowNumber + 1);
        Row &row = sheet.rows[rowNumber];
        for (pugi::xml_attribute a : r.attributes()) {
            const char *n = a.name();
            if (std::strcmp(n, "r") != 0 && std::strcmp(n, "spans") != 0)
                row.attrs.emplace_back(n, a.value());
        }
        std::vector<std::pair<int, pugi::xml_node>> nodes;
        int col = 0;
        for (pugi::xml_node c : r.children()) {
            if (!is(c, "c"))
                continue;
            const char *ref = c.attribute("r").value();
            const auto rc = xlsx::parseCell(ref, std::strlen(ref));
            col = rc ? rc->second : col + 1;
            if (nodes.empty() || nodes.back().first < col)
                nodes.emplace_back(col, c);
        }
        // Pointers into the vector are taken only once it has its final size.
        row.cells.resize(nodes.size());
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            row.cells[k].col = nodes[k].first;
            readCell(nodes[k].second, row.cells[k], rowNumber, shared, sharedUsers);
        }
    }
    expandShared(shared, sharedUsers);
    while (sheetData.first_child())
        sheetData.remove_child(sheetData.first_child());
    sheetData.append_child(pugi::node_comment).set_value(kSheetMarker);
}

void readColumns(XlsxSheetData &sheet)
{
    pugi::xml_node cols = child(sheet.doc.document_element(), "cols");
    for (pugi::xml_node c : cols.children()) {
        if (!is(c, "col"))
            continue;
        ColRange range;
        range.min = c.attribute("min").as_int(1);
        range.max = c.attribute("max").as_int(range.min);
        for (pugi::xml_attribute a : c.attributes())
            if (std::strcmp(a.name(), "min") != 0 && std::strcmp(a.name(), "max") != 0)
                range.attrs.emplace_back(a.name(), a.value());
        sheet.cols.push_back(std::move(range));
    }
    std::sort(sheet.cols.begin(), sheet.cols.end(),
              [](const ColRange &a, const ColRange &b) { return a.min < b.min; });
}

void readMerges(XlsxSheetData &sheet)
{
    pugi::xml_node merges = child(sheet.doc.document_element(), "mergeCells");
    for (pugi::xml_node m : merges.children())
        if (is(m, "mergeCell")) {
            try {
                sheet.merges.push_back(XlsxRange::parse(QString::fromUtf8(m.attribute("ref").value())));
            } catch (const XlsxError &) {
                // A merge that is not a block of cells cannot be kept.
            }
        }
}

std::unique_ptr<XlsxSheetData> readSheet(XlsxBookData &book, const std::string &name, const std::string &part)
{
    auto sheet = std::make_unique<XlsxSheetData>();
    sheet->name = name;
    sheet->part = part;
    book.parse(sheet->doc, part);
    pugi::xml_node root = sheet->doc.document_element();
    readSheetData(*sheet, childInOrder(root, "sheetData", kWorksheetOrder));
    readColumns(*sheet);
    readMerges(*sheet);
    if (book.has(sheet->relsPart())) {
        book.parse(sheet->rels, sheet->relsPart());
        sheet->hasRels = true;
    }
    return sheet;
}

} // namespace

// --- the book ----------------------------------------------------------------

XlsxBook::XlsxBook(const QString &path) : m_data(std::make_unique<XlsxBookData>())
{
    XlsxBookData &d = *m_data;
    d.path = path;
    if (!QFileInfo(path).isFile())
        throw XlsxError(QStringLiteral("Файл не найден: %1").arg(QDir::toNativeSeparators(path)));
    readZip(d);
    d.parse(d.contentTypes, "[Content_Types].xml");
    pugi::xml_document rootRels;
    d.parse(rootRels, "_rels/.rels");
    for (pugi::xml_node r : rootRels.document_element().children())
        if (std::string(r.attribute("Type").value()).ends_with("/officeDocument"))
            d.workbookPart = resolvePart("", r.attribute("Target").value());
    if (d.workbookPart.empty())
        throw XlsxError(d.fail(QStringLiteral("нет книги, это не файл Excel")));
    d.parse(d.workbook, d.workbookPart);
    const std::string folder = folderOf(d.workbookPart);
    const std::string relsPart = relsPathOf(d.workbookPart);
    d.parse(d.workbookRels, relsPart);
    pugi::xml_node wb = d.workbook.document_element();
    const std::string date1904 = child(wb, "workbookPr").attribute("date1904").value();
    d.date1904 = date1904 == "1" || date1904 == "true";

    for (pugi::xml_node r : d.workbookRels.document_element().children()) {
        const std::string type = r.attribute("Type").value();
        const std::string target = resolvePart(folder, r.attribute("Target").value());
        if (type.ends_with("/styles"))
            d.stylesPart = target;
        else if (type.ends_with("/sharedStrings"))
            readSharedStrings(d, target);
    }
    if (d.stylesPart.empty()) {
        d.stylesPart = resolvePart(folder, "styles.xml");
        d.put(d.stylesPart, kEmptyStyles);
        addRelationship(d.workbookRels.document_element(), "styles", "styles.xml");
        d.addOverride(d.stylesPart, "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    }
    d.parse(d.styles.doc, d.stylesPart);
    d.styles.load();

    for (pugi::xml_node s : child(wb, "sheets").children()) {
        if (!is(s, "sheet"))
            continue;
        std::string id;
        for (pugi::xml_attribute a : s.attributes())
            if (std::strcmp(localName(a.name()), "id") == 0 && std::strchr(a.name(), ':'))
                id = a.value();
        const std::string target = relTarget(d.workbookRels.document_element(), id);
        if (target.empty())
            continue;
        const std::string part = resolvePart(folder, target);
        if (!d.has(part))
            continue; // a chart sheet or a dangling entry: kept as it is
        m_sheets.push_back(std::unique_ptr<XlsxSheet>(
            new XlsxSheet(*this, readSheet(d, s.attribute("name").value(), part))));
    }
    if (m_sheets.empty())
        throw XlsxError(d.fail(QStringLiteral("в книге нет листов")));
}

XlsxBook::~XlsxBook() = default;

QString XlsxBook::path() const
{
    return m_data->path;
}

int XlsxBook::sheetCount() const
{
    return int(m_sheets.size());
}

XlsxSheet &XlsxBook::sheet(int index)
{
    if (index < 1 || index > int(m_sheets.size()))
        throw XlsxError(m_data->fail(QStringLiteral("нет листа %1").arg(index)));
    return *m_sheets[std::size_t(index - 1)];
}

// --- the sheet ---------------------------------------------------------------

namespace {

Cell *findCell(XlsxSheetData &d, int row, int col)
{
    const auto r = d.rows.find(row);
    if (r == d.rows.end())
        return nullptr;
    auto &cells = r->second.cells;
    const auto it = std::lower_bound(cells.begin(), cells.end(), col,
                                     [](const Cell &c, int value) { return c.col < value; });
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

const ColRange *columnOf(const XlsxSheetData &d, int col)
{
    for (const ColRange &c : d.cols)
        if (c.min <= col && col <= c.max)
            return &c;
    return nullptr;
}

// A new cell takes the format of its row, else of its column, as it does
// when the user types into it.
int defaultStyle(const XlsxSheetData &d, const Row &row, int col)
{
    const std::string *custom = row.attr("customFormat");
    if (custom && (*custom == "1" || *custom == "true"))
        if (const std::string *s = row.attr("s"))
            return std::atoi(s->c_str());
    if (const ColRange *c = columnOf(d, col))
        if (const std::string *s = findAttr(c->attrs, "style"))
            return std::atoi(s->c_str());
    return 0;
}

void checkCell(int row, int col)
{
    if (row < 1 || row > xlsx::kMaxRow || col < 1 || col > xlsx::kMaxCol)
        throw XlsxError(QStringLiteral("Нет ячейки в строке %1, столбце %2").arg(row).arg(col));
}

Cell &cellAt(XlsxSheetData &d, int row, int col)
{
    checkCell(row, col);
    Row &r =
        d.rows
            .try_emplace(
                d.rows.empty() || d.rows.rbegin()->first < row ? d.rows.end() : d.rows.lower_bound(row), row)
            ->second;
    auto &cells = r.cells;
    auto it = cells.end();
    if (!cells.empty() && cells.back().col >= col)
        it = std::lower_bound(cells.begin(), cells.end(), col,
                              [](const Cell &c, int value) { return c.col < value; });
    if (it != cells.end() && it->col == col)
        return *it;
    Cell fresh;
    fresh.col = col;
    fresh.style = defaultStyle(d, r, col);
    return *cells.insert(it, std::move(fresh));
}

void clearValue(Cell &c)
{
    c.kind = Kind::Blank;
    c.text.clear();
    c.num = 0;
    c.formula.reset();
}

ColRange &singleColumn(XlsxSheetData &d, int col)
{
    auto &cols = d.cols;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        if (cols[i].min > col)
            break;
        if (cols[i].max < col)
            continue;
        if (cols[i].min < col) {
            ColRange left = cols[i];
            left.max = col - 1;
            cols[i].min = col;
            cols.insert(cols.begin() + std::ptrdiff_t(i), left);
            ++i;
        }
        if (cols[i].max > col) {
            ColRange right = cols[i];
            right.min = col + 1;
            cols[i].max = col;
            cols.insert(cols.begin() + std::ptrdiff_t(i) + 1, right);
        }
        return cols[i];
    }
    const auto it = std::lower_bound(cols.begin(), cols.end(), col,
                                     [](const ColRange &c, int value) { return c.max < value; });
    ColRange fresh;
    fresh.min = fresh.max = col;
    return *cols.insert(it, fresh);
}

double serialOf(const QDate &date, bool date1904)
{
    static const QDate base1900(1899, 12, 30);
    static const QDate base1904(1904, 1, 1);
    return double(date.toJulianDay() - (date1904 ? base1904 : base1900).toJulianDay());
}

QDate dateOf(double serial, bool date1904)
{
    static const QDate base1900(1899, 12, 30);
    static const QDate base1904(1904, 1, 1);
    return (date1904 ? base1904 : base1900).addDays(qint64(std::floor(serial)));
}

bool overlapsRows(const XlsxRange &r, int first, int last)
{
    return r.firstRow <= last && r.lastRow >= first;
}

std::string rangeText(const XlsxRange &r)
{
    std::string text = xlsx::cellAddress(r.firstRow, r.firstCol).toStdString();
    if (r.lastRow != r.firstRow || r.lastCol != r.firstCol)
        text += ":" + xlsx::cellAddress(r.lastRow, r.lastCol).toStdString();
    return text;
}

// Length in characters of a value as a cell shows it.
int shownLength(const Cell &c, const XlsxBookData &book)
{
    std::string shown;
    switch (c.kind) {
    case Kind::Text:
    case Kind::Error:
        shown = c.text;
        break;
    case Kind::Shared:
        if (c.num >= 0 && c.num < double(book.sharedStrings.size()))
            shown = book.sharedStrings[std::size_t(c.num)];
        break;
    case Kind::Number:
        if (book.styles.isDate(c.style))
            return 10;
        appendDouble(shown, c.num);
        break;
    case Kind::Bool:
        return 5;
    case Kind::Blank:
        return 0;
    }
    int longest = 0;
    for (const QString &line : fromStd(shown).split(QLatin1Char('\n')))
        longest = std::max(longest, int(line.size()));
    return longest;
}

} // namespace

XlsxSheet::XlsxSheet(XlsxBook &book, std::unique_ptr<XlsxSheetData> data)
    : m_book(book), m_data(std::move(data))
{
}

XlsxSheet::~XlsxSheet() = default;

QString XlsxSheet::name() const
{
    return fromStd(m_data->name);
}

void XlsxSheet::setValue(int row, int col, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        clearValue(cellAt(*m_data, row, col));
        return;
    case QMetaType::QString:
        setText(row, col, value.toString());
        return;
    case QMetaType::QDate:
        setDate(row, col, value.toDate());
        return;
    case QMetaType::QDateTime:
        setDate(row, col, value.toDateTime().date());
        return;
    default:
        break;
    }
    if (value.isNull()) {
        clearValue(cellAt(*m_data, row, col));
        return;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && value.typeId() != QMetaType::QByteArray)
        setNumber(row, col, number);
    else
        setText(row, col, value.toString());
}

void XlsxSheet::setValue(const QString &address, const QVariant &value)
{
    const XlsxRange r = XlsxRange::parse(address);
    setValue(r.firstRow, r.firstCol, value);
}

void XlsxSheet::setRowValues(int row, int col, const QVariantList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        setValue(row, col + int(i), values[i]);
}

void XlsxSheet::setRowValues(const QString &address, const QVariantList &values)
{
    const XlsxRange r = XlsxRange::parse(address);
    setRowValues(r.firstRow, r.firstCol, values);
}

void XlsxSheet::setNumber(int row, int col, double value)
{
    Cell &c = cellAt(*m_data, row, col);
    clearValue(c);
    if (!std::isfinite(value))
        throw XlsxError(QStringLiteral("Число в ячейке %1 не конечно").arg(xlsx::cellAddress(row, col)));
    c.kind = Kind::Number;
    c.num = value;
}

void XlsxSheet::setText(int row, int col, const QString &text)
{
    Cell &c = cellAt(*m_data, row, col);
    clearValue(c);
    c.kind = Kind::Text;
    c.text = toStd(text);
    if (text.contains(QLatin1Char('\n')))
        c.style = m_book.m_data->styles.derive(c.style, Change::Wrap, 1);
}

void XlsxSheet::setDate(int row, int col, const QDate &date)
{
    if (!date.isValid()) {
        clearValue(cellAt(*m_data, row, col));
        return;
    }
    Cell &c = cellAt(*m_data, row, col);
    clearValue(c);
    c.kind = Kind::Number;
    Styles &styles = m_book.m_data->styles;
    c.num = serialOf(date, m_book.m_data->date1904);
    if (!styles.isDate(c.style))
        c.style = styles.derive(c.style, Change::NumFmt, styles.dateFormat());
}

void XlsxSheet::setFormula(int row, int col, const QString &formula)
{
    Cell &c = cellAt(*m_data, row, col);
    clearValue(c);
    c.formula = std::make_unique<Formula>();
    c.formula->text = toStd(formula.startsWith(QLatin1Char('=')) ? formula.mid(1) : formula);
}

QVariant XlsxSheet::value(int row, int col) const
{
    const Cell *c = findCell(*m_data, row, col);
    if (!c)
        return {};
    const XlsxBookData &book = *m_book.m_data;
    switch (c->kind) {
    case Kind::Blank:
        return {};
    case Kind::Number:
        if (book.styles.isDate(c->style))
            return dateOf(c->num, book.date1904);
        return c->num;
    case Kind::Text:
    case Kind::Error:
        return fromStd(c->text);
    case Kind::Shared:
        if (c->num >= 0 && c->num < double(book.sharedStrings.size()))
            return fromStd(book.sharedStrings[std::size_t(c->num)]);
        return QString();
    case Kind::Bool:
        return c->num != 0;
    }
    return {};
}

QVariant XlsxSheet::value(const QString &address) const
{
    const XlsxRange r = XlsxRange::parse(address);
    return value(r.firstRow, r.firstCol);
}

QString XlsxSheet::formula(int row, int col) const
{
    const Cell *c = findCell(*m_data, row, col);
    return c && c->formula ? fromStd(c->formula->text) : QString();
}

int XlsxSheet::lastRow() const
{
    for (auto it = m_data->rows.rbegin(); it != m_data->rows.rend(); ++it)
        for (const Cell &c : it->second.cells)
            if (c.kind != Kind::Blank || c.formula)
                return it->first;
    return 0;
}

int XlsxSheet::lastColumn() const
{
    int last = 0;
    for (const auto &[r, row] : m_data->rows)
        for (auto it = row.cells.rbegin(); it != row.cells.rend(); ++it)
            if (it->kind != Kind::Blank || it->formula) {
                last = std::max(last, it->col);
                break;
            }
    return last;
}

namespace {

// Every cell of the block gets the derived format, empty cells included.
template <typename F> void restyle(XlsxSheetData &d, const XlsxRange &range, F derive)
{
    checkCell(range.firstRow, range.firstCol);
    checkCell(range.lastRow, range.lastCol);
    int lastFrom = -1;
    int lastTo = -1;
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        for (int c = range.firstCol; c <= range.lastCol; ++c) {
            Cell &cell = cellAt(d, r, c);
            if (cell.style != lastFrom) {
                lastFrom = cell.style;
                lastTo = derive(cell.style);
            }
            cell.style = lastTo;
        }
}

} // namespace

void XlsxSheet::setBold(const XlsxRange &range, bool on)
{
    Styles &s = m_book.m_data->styles;
    restyle(*m_data, range, [&](int xf) { return s.derive(xf, Change::Bold, on); });
}

void XlsxSheet::setItalic(const XlsxRange &range, bool on)
{
    Styles &s = m_book.m_data->styles;
    restyle(*m_data, range, [&](int xf) { return s.derive(xf, Change::Italic, on); });
}

void XlsxSheet::setFontSize(const XlsxRange &range, double points)
{
    Styles &s = m_book.m_data->styles;
    const long hundredths = std::lround(std::clamp(points, 1.0, 409.0) * 100);
    restyle(*m_data, range, [&](int xf) { return s.derive(xf, Change::Size, hundredths); });
}

void XlsxSheet::setFill(const XlsxRange &range, unsigned rgb)
{
    Styles &s = m_book.m_data->styles;
    restyle(*m_data, range, [&](int xf) { return s.derive(xf, Change::Fill, long(rgb & 0xFFFFFF)); });
}

void XlsxSheet::setBorders(const XlsxRange &range)
{
    Styles &s = m_book.m_data->styles;
    restyle(*m_data, range, [&](int xf) { return s.derive(xf, Change::Border, 0); });
}

void XlsxSheet::setColumnWidth(int col, double width)
{
    checkCell(1, col);
    ColRange &c = singleColumn(*m_data, col);
    putAttr(c.attrs, "width", QString::number(std::clamp(width, 0.0, 255.0), 'g', 6).toStdString());
    putAttr(c.attrs, "customWidth", "1");
}

void XlsxSheet::setColumnHidden(int col, bool hidden)
{
    checkCell(1, col);
    ColRange &c = singleColumn(*m_data, col);
    if (hidden) {
        putAttr(c.attrs, "hidden", "1");
        if (!findAttr(c.attrs, "width"))
            putAttr(c.attrs, "width", "9.140625");
    } else {
        dropAttr(c.attrs, "hidden");
    }
}

void XlsxSheet::autoFitColumns(int firstCol, int lastCol)
{
    const XlsxBookData &book = *m_book.m_data;
    std::map<int, double> widths;
    for (const auto &[r, row] : m_data->rows)
        for (const Cell &c : row.cells) {
            if (c.col < firstCol || c.col > lastCol)
                continue;
            const bool merged =
                std::any_of(m_data->merges.begin(), m_data->merges.end(), [&](const XlsxRange &m) {
                    return m.firstRow <= r && r <= m.lastRow && m.firstCol <= c.col && c.col <= m.lastCol &&
                           (m.firstRow != m.lastRow || m.firstCol != m.lastCol);
                });
            const int length = merged ? 0 : shownLength(c, book);
            if (length == 0)
                continue;
            const auto [size, bold] = book.styles.font(c.style);
            const double width = length * size / 11.0 * (bold ? 1.1 : 1.0) + 1.7;
            widths[c.col] = std::max(widths[c.col], width);
        }
    for (const auto &[col, width] : widths) {
        setColumnWidth(col, std::min(255.0, std::ceil(width * 4) / 4));
        putAttr(singleColumn(*m_data, col).attrs, "bestFit", "1");
    }
}

namespace {

void shiftRows(std::map<int, Row> &rows, int at, int count)
{
    std::map<int, Row> moved;
    const int removedEnd = count < 0 ? at - count - 1 : at - 1;
    for (auto it = rows.begin(); it != rows.end();) {
        auto node = rows.extract(it++);
        int &key = node.key();
        if (count < 0 && key >= at && key <= removedEnd)
            continue;
        if (key >= at)
            key += count;
        if (key > xlsx::kMaxRow)
            continue;
        moved.insert(moved.end(), std::move(node));
    }
    rows.swap(moved);
}

void shiftMerges(std::vector<XlsxRange> &merges, int at, int count)
{
    std::vector<XlsxRange> kept;
    for (XlsxRange m : merges) {
        const auto span = xlsx::shiftSpan(m.firstRow, m.lastRow, at, count);
        if (!span)
            continue;
        m.firstRow = span->first;
        m.lastRow = span->second;
        if (m.firstRow != m.lastRow || m.firstCol != m.lastCol)
            kept.push_back(m);
    }
    merges.swap(kept);
}

// Ranges kept in the sheet's XML: hyperlinks, conditional formats, validations.
void shiftSheetRanges(pugi::xml_node root, const std::string &sheetName, int at, int count)
{
    auto shiftAttr = [&](pugi::xml_node node, const char *attr) {
        const std::string shifted = xlsx::shiftRangeList(node.attribute(attr).value(), at, count);
        if (shifted.empty())
            return false;
        node.attribute(attr).set_value(shifted.c_str());
        return true;
    };
    std::vector<pugi::xml_node> gone;
    for (pugi::xml_node section : root.children()) {
        if (is(section, "conditionalFormatting")) {
            if (!shiftAttr(section, "sqref"))
                gone.push_back(section);
            for (pugi::xml_node rule : section.children())
                for (pugi::xml_node f : rule.children())
                    if (is(f, "formula"))
                        f.text().set(
                            xlsx::shiftFormulaRows(f.child_value(), sheetName, true, at, count).c_str());
        } else if (is(section, "dataValidations") || is(section, "hyperlinks")) {
            const char *attr = is(section, "hyperlinks") ? "ref" : "sqref";
            for (pugi::xml_node item : section.children())
                if (item.type() == pugi::node_element && !shiftAttr(item, attr))
                    gone.push_back(item);
        }
    }
    for (pugi::xml_node n : gone)
        n.parent().remove_child(n);
}

} // namespace

void XlsxSheet::deleteRows(int row, int count)
{
    if (count <= 0)
        return;
    checkCell(row, 1);
    m_book.shiftRowsOf(*this, row, -count);
}

void XlsxSheet::insertRows(int row, int count)
{
    if (count <= 0)
        return;
    checkCell(row, 1);
    m_book.shiftRowsOf(*this, row, count);
}

void XlsxBook::shiftRowsOf(XlsxSheet &target, int at, int count)
{
    XlsxSheetData &d = *target.m_data;
    shiftRows(d.rows, at, count);
    shiftMerges(d.merges, at, count);
    shiftSheetRanges(d.doc.document_element(), d.name, at, count);
    for (auto &sheet : m_sheets) {
        const bool same = sheet.get() == &target;
        for (auto &[r, row] : sheet->m_data->rows)
            for (Cell &c : row.cells) {
                if (!c.formula)
                    continue;
                c.formula->text = xlsx::shiftFormulaRows(c.formula->text, d.name, same, at, count);
                if (same && !c.formula->arrayRef.empty())
                    c.formula->arrayRef = xlsx::shiftRangeList(c.formula->arrayRef, at, count);
            }
    }
    pugi::xml_node names = child(m_data->workbook.document_element(), "definedNames");
    for (pugi::xml_node n : names.children())
        if (is(n, "definedName"))
            n.text().set(xlsx::shiftFormulaRows(n.child_value(), d.name, false, at, count).c_str());
}

void XlsxSheet::copyRows(int firstRow, int lastRow, int destRow)
{
    if (lastRow < firstRow)
        return;
    checkCell(firstRow, 1);
    checkCell(destRow + (lastRow - firstRow), 1);
    const int delta = destRow - firstRow;
    std::vector<std::pair<int, Row>> copies;
    for (auto it = m_data->rows.lower_bound(firstRow); it != m_data->rows.end() && it->first <= lastRow;
         ++it) {
        Row copy = it->second.clone();
        for (Cell &c : copy.cells)
            if (c.formula)
                c.formula->text = xlsx::translateFormula(c.formula->text, delta, 0);
        copies.emplace_back(it->first + delta, std::move(copy));
    }
    std::vector<XlsxRange> sourceMerges;
    for (const XlsxRange &m : m_data->merges)
        if (m.firstRow >= firstRow && m.lastRow <= lastRow)
            sourceMerges.push_back(m);
    const int destLast = destRow + (lastRow - firstRow);
    m_data->rows.erase(m_data->rows.lower_bound(destRow), m_data->rows.upper_bound(destLast));
    std::erase_if(m_data->merges, [&](const XlsxRange &m) { return overlapsRows(m, destRow, destLast); });
    for (auto &[r, row] : copies)
        m_data->rows[r] = std::move(row);
    for (XlsxRange m : sourceMerges) {
        m.firstRow += delta;
        m.lastRow += delta;
        m_data->merges.push_back(m);
    }
}

void XlsxSheet::mergeCells(const XlsxRange &range)
{
    checkCell(range.lastRow, range.lastCol);
    std::erase_if(m_data->merges, [&](const XlsxRange &m) {
        return m.firstRow <= range.lastRow && m.lastRow >= range.firstRow && m.firstCol <= range.lastCol &&
               m.lastCol >= range.firstCol;
    });
    m_data->merges.push_back(range);
}

QList<XlsxRange> XlsxSheet::mergedRanges() const
{
    return QList<XlsxRange>(m_data->merges.begin(), m_data->merges.end());
}

void XlsxSheet::setGridLines(bool shown)
{
    pugi::xml_node views = childInOrder(m_data->doc.document_element(), "sheetViews", kWorksheetOrder);
    pugi::xml_node view = child(views, "sheetView");
    if (!view) {
        view = views.append_child((prefixOf(views) + "sheetView").c_str());
        view.append_attribute("workbookViewId") = 0;
    }
    setAttr(view, "showGridLines", shown ? "1" : "0");
}

void XlsxSheet::addPicture(int row, int col, const QByteArray &png)
{
    checkCell(row, col);
    XlsxBookData &book = *m_book.m_data;
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (png.size() < 24 || std::memcmp(png.constData(), signature, 8) != 0 || png.mid(12, 4) != "IHDR")
        throw XlsxError(book.fail(QStringLiteral("рисунок для листа %1 не в формате PNG").arg(name())));
    const auto be32 = [&](int at) {
        const auto *b = reinterpret_cast<const unsigned char *>(png.constData() + at);
        return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3];
    };
    const qint64 cx = qint64(be32(16)) * 9525; // pixels to EMU at 96 dpi
    const qint64 cy = qint64(be32(20)) * 9525;

    XlsxSheetData &d = *m_data;
    if (!d.hasRels) {
        newRelsDocument(d.rels);
        d.hasRels = true;
    }
    if (d.drawingPart.empty()) {
        pugi::xml_node root = d.doc.document_element();
        if (pugi::xml_node existing = child(root, "drawing")) {
            std::string id;
            for (pugi::xml_attribute a : existing.attributes())
                if (std::strcmp(localName(a.name()), "id") == 0)
                    id = a.value();
            d.drawingPart = resolvePart(folderOf(d.part), relTarget(d.rels.document_element(), id));
            book.parse(d.drawing, d.drawingPart);
        } else {
            d.drawingPart = book.freeName("xl/drawings", "drawing", "xml");
            d.drawing.load_string(
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
                "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"/>",
                kParseFlags);
            book.put(d.drawingPart, serialize(d.drawing));
            book.addOverride(d.drawingPart, "application/vnd.openxmlformats-officedocument.drawing+xml");
            const std::string target = "../drawings/" + d.drawingPart.substr(d.drawingPart.rfind('/') + 1);
            const std::string id = addRelationship(d.rels.document_element(), "drawing", target);
            pugi::xml_node drawing = childInOrder(root, "drawing", kWorksheetOrder);
            drawing.append_attribute("xmlns:r") = kRelNs;
            drawing.append_attribute("r:id") = id.c_str();
        }
    }
    const std::string media = book.freeName("xl/media", "image", "png");
    book.put(media, std::string(png.constData(), std::size_t(png.size())));
    book.addDefault("png", "image/png");

    const std::string drawingRels = relsPathOf(d.drawingPart);
    pugi::xml_document rels;
    if (book.has(drawingRels))
        book.parse(rels, drawingRels);
    else
        newRelsDocument(rels);
    const std::string imageId =
        addRelationship(rels.document_element(), "image", "../media/" + media.substr(media.rfind('/') + 1));
    book.put(drawingRels, serialize(rels));

    pugi::xml_node wsDr = d.drawing.document_element();
    const std::string p = prefixOf(wsDr);
    const auto anchors = wsDr.children();
    const int pictureId = int(std::distance(anchors.begin(), anchors.end())) + 1;
    const std::string anchorXml =
        "<" + p +
        "oneCellAnchor xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" xmlns:r=\"" +
        kRelNs + "\"><" + p + "from><" + p + "col>" + std::to_string(col - 1) + "</" + p + "col><" + p +
        "colOff>0</" + p + "colOff><" + p + "row>" + std::to_string(row - 1) + "</" + p + "row><" + p +
        "rowOff>0</" + p + "rowOff></" + p + "from><" + p + "ext cx=\"" + std::to_string(cx) + "\" cy=\"" +
        std::to_string(cy) + "\"/><" + p + "pic><" + p + "nvPicPr><" + p + "cNvPr id=\"" +
        std::to_string(pictureId + 1) + "\" name=\"Picture " + std::to_string(pictureId) + "\"/><" + p +
        "cNvPicPr><a:picLocks noChangeAspect=\"1\"/></" + p + "cNvPicPr></" + p + "nvPicPr><" + p +
        "blipFill><a:blip r:embed=\"" + imageId + "\"/><a:stretch><a:fillRect/></a:stretch></" + p +
        "blipFill><" + p + "spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" + std::to_string(cx) +
        "\" cy=\"" + std::to_string(cy) + "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></" +
        p + "spPr></" + p + "pic><" + p + "clientData/></" + p + "oneCellAnchor>";
    pugi::xml_document fragment;
    fragment.load_string(anchorXml.c_str(), kParseFlags);
    wsDr.append_copy(fragment.document_element());
}

// --- writing -----------------------------------------------------------------

namespace {

const std::string &letters(int col)
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> v(xlsx::kMaxCol + 1);
        for (int c = 1; c <= xlsx::kMaxCol; ++c)
            v[std::size_t(c)] = xlsx::columnLetters(c).toStdString();
        return v;
    }();
    return all[std::size_t(col)];
}

void writeCell(std::string &out, int row, const Cell &c)
{
    out += "<c r=\"";
    out += letters(c.col);
    appendInt(out, row);
    out += '"';
    if (c.style != 0) {
        out += " s=\"";
        appendInt(out, c.style);
        out += '"';
    }
    if (c.formula) {
        // No saved result: the program that opens the file calculates it.
        if (c.formula->arrayRef.empty()) {
            out += "><f>";
        } else {
            out += "><f t=\"array\" ref=\"";
            escapeInto(out, c.formula->arrayRef, true);
            out += "\">";
        }
        escapeInto(out, c.formula->text, false);
        out += "</f></c>";
        return;
    }
    switch (c.kind) {
    case Kind::Blank:
        out += "/>";
        return;
    case Kind::Number:
        out += "><v>";
        appendDouble(out, c.num);
        out += "</v></c>";
        return;
    case Kind::Text:
        out += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
        escapeInto(out, c.text, false);
        out += "</t></is></c>";
        return;
    case Kind::Shared:
        out += " t=\"s\"><v>";
        appendInt(out, long(c.num));
        out += "</v></c>";
        return;
    case Kind::Bool:
        out += " t=\"b\"><v>";
        out += c.num != 0 ? '1' : '0';
        out += "</v></c>";
        return;
    case Kind::Error:
        out += " t=\"e\"><v>";
        escapeInto(out, c.text, false);
        out += "</v></c>";
        return;
    }
}

std::string sheetDataText(const XlsxSheetData &d)
{
    std::string out;
    std::size_t cells = 0;
    for (const auto &[r, row] : d.rows)
        cells += row.cells.size();
    out.reserve(cells * 40 + d.rows.size() * 24);
    for (const auto &[r, row] : d.rows) {
        if (row.cells.empty() && row.attrs.empty())
            continue;
        out += "<row r=\"";
        appendInt(out, r);
        out += '"';
        for (const auto &[name, value] : row.attrs) {
            out += ' ';
            out += name;
            out += "=\"";
            escapeInto(out, value, true);
            out += '"';
        }
        if (row.cells.empty()) {
            out += "/>";
            continue;
        }
        out += '>';
        for (const Cell &c : row.cells)
            writeCell(out, r, c);
        out += "</row>";
    }
    return out;
}

void writeColumns(XlsxSheetData &d)
{
    pugi::xml_node root = d.doc.document_element();
    pugi::xml_node cols = child(root, "cols");
    if (d.cols.empty()) {
        root.remove_child(cols);
        return;
    }
    cols = childInOrder(root, "cols", kWorksheetOrder);
    cols.remove_children();
    for (const ColRange &c : d.cols) {
        pugi::xml_node col = cols.append_child((prefixOf(root) + "col").c_str());
        col.append_attribute("min") = c.min;
        col.append_attribute("max") = c.max;
        for (const auto &[name, value] : c.attrs)
            col.append_attribute(name.c_str()) = value.c_str();
    }
}

void writeMerges(XlsxSheetData &d)
{
    pugi::xml_node root = d.doc.document_element();
    if (d.merges.empty()) {
        root.remove_child(child(root, "mergeCells"));
        return;
    }
    pugi::xml_node merges = childInOrder(root, "mergeCells", kWorksheetOrder);
    merges.remove_children();
    merges.remove_attributes();
    merges.append_attribute("count") = int(d.merges.size());
    for (const XlsxRange &m : d.merges)
        merges.append_child((prefixOf(root) + "mergeCell").c_str()).append_attribute("ref") =
            rangeText(m).c_str();
}

// The block of all cells written, formatted empty ones included.
void writeDimension(XlsxSheetData &d)
{
    int lastRow = 1;
    int lastCol = 1;
    for (const auto &[r, row] : d.rows)
        if (!row.cells.empty()) {
            lastRow = r;
            lastCol = std::max(lastCol, row.cells.back().col);
        }
    pugi::xml_node dim = childInOrder(d.doc.document_element(), "dimension", kWorksheetOrder);
    const XlsxRange whole{1, 1, lastRow, lastCol};
    setAttr(dim, "ref", rangeText(whole));
}

std::string sheetText(XlsxSheetData &d)
{
    writeColumns(d);
    writeMerges(d);
    writeDimension(d);
    const std::string xml = serialize(d.doc);
    const std::string marker = std::string("<!--") + kSheetMarker + "-->";
    const std::size_t at = xml.find(marker);
    if (at == std::string::npos)
        return xml;
    std::string out;
    const std::string cells = sheetDataText(d);
    out.reserve(xml.size() + cells.size());
    out.append(xml, 0, at);
    out += cells;
    out.append(xml, at + marker.size(), std::string::npos);
    return out;
}

// A calculation chain lists formula cells by position; after rows moved it
// would be wrong, and the full calculation on opening rebuilds it.
void dropCalcChain(XlsxBookData &d)
{
    pugi::xml_node rels = d.workbookRels.document_element();
    for (pugi::xml_node r = rels.first_child(); r;) {
        pugi::xml_node next = r.next_sibling();
        if (std::string(r.attribute("Type").value()).ends_with("/calcChain")) {
            const std::string part = resolvePart(folderOf(d.workbookPart), r.attribute("Target").value());
            d.remove(part);
            for (pugi::xml_node o : d.contentTypes.document_element().children())
                if (("/" + part) == o.attribute("PartName").value()) {
                    d.contentTypes.document_element().remove_child(o);
                    break;
                }
            rels.remove_child(r);
        }
        r = next;
    }
}

void writeZip(const XlsxBookData &d, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    int code = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw XlsxError(QStringLiteral("Не удалось сохранить файл %1: %2").arg(shown, text));
    }
    auto fail = [&]() {
        const QString text = QString::fromLocal8Bit(zip_strerror(zip));
        zip_discard(zip);
        throw XlsxError(QStringLiteral("Не удалось сохранить файл %1: %2").arg(shown, text));
    };
    for (const auto &e : d.entries) {
        if (e.removed)
            continue;
        zip_source_t *source = zip_source_buffer(zip, e.data.data(), e.data.size(), 0);
        if (!source)
            fail();
        const zip_int64_t index =
            zip_file_add(zip, e.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            fail();
        }
        // Fast deflate: the sheets are large and compress well even so.
        if (zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) != 0)
            fail();
    }
    if (zip_close(zip) != 0)
        fail();
}

} // namespace

void XlsxBook::save()
{
    saveAs(m_data->path);
}

void XlsxBook::saveAs(const QString &path)
{
    XlsxBookData &d = *m_data;
    for (auto &sheet : m_sheets) {
        XlsxSheetData &s = *sheet->m_data;
        d.put(s.part, sheetText(s));
        if (s.hasRels)
            d.put(s.relsPart(), serialize(s.rels));
        if (!s.drawingPart.empty())
            d.put(s.drawingPart, serialize(s.drawing));
    }
    dropCalcChain(d);
    pugi::xml_node calc = childInOrder(d.workbook.document_element(), "calcPr", kWorkbookOrder);
    setAttr(calc, "fullCalcOnLoad", "1");
    d.put(d.workbookPart, serialize(d.workbook));
    d.put(relsPathOf(d.workbookPart), serialize(d.workbookRels));
    d.put(d.stylesPart, serialize(d.styles.doc));
    d.put("[Content_Types].xml", serialize(d.contentTypes));
    writeZip(d, path);
    d.path = path;
}
