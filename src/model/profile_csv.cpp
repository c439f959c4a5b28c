#include "model/profile_csv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "model/squelch_codes.h"
#include "platform/string_table.h"

namespace profile_csv {

namespace {

constexpr int kMsgLine = 710;
constexpr int kMsgNotUtf8 = 711;
constexpr int kMsgColumns = 712;
constexpr int kMsgHeader = 713;
constexpr int kMsgNoFrequency = 714;
constexpr int kMsgNothingImported = 715;
constexpr int kMsgBadValue = 716;
constexpr int kMsgDuplicate = 717;
constexpr int kMsgRowCount = 718;
constexpr int kTextImportStep = 719;

constexpr int kMsgInvalidValue = 261;
constexpr int kMsgOutOfBand = 269;
constexpr int kMsgMurs = 284;
constexpr int kMsgBandwidth = 285;
constexpr int kMsgPower = 286;

constexpr int kText125 = 189;
constexpr int kText25 = 190;
constexpr int kTextLow = 191;
constexpr int kTextHigh = 192;
constexpr int kTextScrambleOff = 193;
constexpr int kTextOn = 465;
constexpr int kTextOff = 466;

// What the codeplug image has room for; the channel page maps at most 99 table positions.
constexpr int kMaxFrequencies = 99;
constexpr int kMaxChannelRecords = 19;

// The compander codes the frequency page stores for its two choices.
constexpr int kCompanderOn = 2;
constexpr int kCompanderOff = 3;

const QStringList kFrequencyHeader = {QStringLiteral("Index"), QStringLiteral("Frequency (MHz)"),
                                      QStringLiteral("Bandwidth"), QStringLiteral("Power Level"),
                                      QStringLiteral("Compander")};

// How a channel column is written and read back.
enum class EKind { Index, Name, Flag, Frequency, Bandwidth, Power, Code, Scramble };

struct SChannelColumn {
    const char* header;
    const char* attribute;  // null for the index
    EKind kind;
};

// The channel columns in file order; the order the attributes are written in on import is
// decided separately (ApplyChannels), since the rules judge some against others.
constexpr std::array<SChannelColumn, 16> kChannelColumns = {{
    {"Index", nullptr, EKind::Index},
    {"Name", "name", EKind::Name},
    {"Disabled", "disable_channel", EKind::Flag},
    {"Rx Frequency (MHz)", "rx_freq_ndx", EKind::Frequency},
    {"Rx Bandwidth (kHz)", "rx_bw", EKind::Bandwidth},
    {"Talkaround Power", "talkaround_power", EKind::Power},
    {"Rx Code", "rx_code", EKind::Code},
    {"Tx Frequency (MHz)", "tx_freq_ndx", EKind::Frequency},
    {"Tx Bandwidth (kHz)", "tx_bw", EKind::Bandwidth},
    {"Repeater Power", "repeater_power", EKind::Power},
    {"Tx Code", "tx_code", EKind::Code},
    {"Scramble", "scramble_code", EKind::Scramble},
    {"Repeater", "repeater", EKind::Flag},
    {"Talkaround Scan", "talkaround_scan", EKind::Flag},
    {"Auto Scan", "autoScan", EKind::Flag},
    {"Scan List", "in_scanlist", EKind::Flag},
}};

constexpr int kColumnName = 1;
constexpr int kColumnDisabled = 2;
constexpr int kColumnScanList = 15;

QStringList ChannelHeader() {
    QStringList header;
    for (const SChannelColumn& column : kChannelColumns) {
        header << QString::fromLatin1(column.header);
    }
    return header;
}

QStringList Header(ETable table) {
    return table == ETable::Frequencies ? kFrequencyHeader : ChannelHeader();
}

QString T(int id) {
    return CStringTable::Instance().Text(id);
}

QString Message(int id, const QStringList& args = {}) {
    return CStringTable::Instance().Format(id, args);
}

// ---------------------------------------------------------------- words

// A choice as the pages show it, in the user's language and in English, so that a file keeps
// reading back after the language was changed.
struct SWord {
    int code;
    QString text;
    QString english;
};

SWord Word(int code, int id, std::optional<int> argument = std::nullopt) {
    if (!argument) {
        return {code, T(id), CStringTable::EnglishText(id)};
    }
    return {code, CStringTable::FormatText(T(id), {T(*argument)}),
            CStringTable::FormatText(CStringTable::EnglishText(id),
                                     {CStringTable::EnglishText(*argument)})};
}

std::vector<SWord> EntryBandwidthWords() {
    return {Word(0, 386, kText125), Word(1, 387, kText25), Word(2, 289, kText125),
            Word(3, 290, kText25)};
}

std::vector<SWord> EntryPowerWords() {
    return {Word(0, 388), Word(1, 389), Word(2, 294), Word(3, 295)};
}

std::vector<SWord> CompanderWords() {
    return {Word(kCompanderOn, kTextOn), Word(kCompanderOff, kTextOff)};
}

std::vector<SWord> Words(EKind kind) {
    switch (kind) {
        case EKind::Flag:
            return {Word(1, kTextOn), Word(0, kTextOff)};
        case EKind::Bandwidth:
            return {Word(0, kText125), Word(1, kText25)};
        case EKind::Power:
            return {Word(0, kTextLow), Word(1, kTextHigh)};
        case EKind::Scramble:
            return {Word(0, kTextScrambleOff), Word(1, 194), Word(2, 195), Word(3, 196)};
        default:
            return {};
    }
}

// The text a code is written as; a code without a word is written as its number, which reads back.
QString WordOf(const std::vector<SWord>& words, int code) {
    for (const SWord& word : words) {
        if (word.code == code) {
            return word.text;
        }
    }
    return QString::number(code);
}

std::optional<int> WholeNumber(const QString& text, int highest) {
    static const QRegularExpression kWhole(QStringLiteral("^[0-9]{1,9}$"));
    if (!kWhole.match(text).hasMatch()) {
        return std::nullopt;
    }
    const int number = text.toInt();
    if (number > highest) {
        return std::nullopt;
    }
    return number;
}

// A word of the list (either language, any case) or a bare code number up to `highest`.
std::optional<int> CodeOf(const std::vector<SWord>& words, const QString& cell, int highest) {
    const QString text = cell.trimmed();
    for (const SWord& word : words) {
        if (text.compare(word.text, Qt::CaseInsensitive) == 0 ||
            text.compare(word.english, Qt::CaseInsensitive) == 0) {
            return word.code;
        }
    }
    return WholeNumber(text, highest);
}

// ---------------------------------------------------------------- frequencies in MHz

// Digit by digit: a binary fraction would put some channel rasters a hertz off.
QString Megahertz(quint32 hertz) {
    return QStringLiteral("%1.%2").arg(hertz / 1000000u).arg(hertz % 1000000u, 6, 10, QChar(u'0'));
}

std::optional<quint32> Hertz(const QString& cell) {
    static const QRegularExpression kMegahertz(
        QStringLiteral("^([0-9]{1,4})(?:\\.([0-9]{1,6}))?$"));
    const QRegularExpressionMatch match = kMegahertz.match(cell.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const quint64 hertz = match.captured(1).toULongLong() * 1000000u +
                          match.captured(2).leftJustified(6, u'0').toULongLong();
    if (hertz > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return static_cast<quint32>(hertz);
}

// ---------------------------------------------------------------- the file

// Where the text stops being UTF-8 (an overlong form, a surrogate, a cut sequence), or -1.
qsizetype FirstInvalidUtf8(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        int length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return i;
        }
        if (i + length > size) {
            return i;
        }
        for (int k = 1; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80) {
                return i;
            }
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
            return i;
        }
        i += length;
    }
    return -1;
}

struct SRecord {
    int line;
    QStringList fields;
};

// Comma-separated records; a quoted field may hold commas, line breaks and doubled quotes. Lines
// with nothing on them are passed over (spreadsheets like to end with one).
std::vector<SRecord> Records(const QString& text) {
    std::vector<SRecord> records;
    SRecord record{1, {}};
    QString field;
    bool quoted = false;
    bool any = false;  // the record has a character, so it is not an empty line
    int line = 1;
    auto endField = [&] {
        record.fields << field;
        field.clear();
    };
    auto endRecord = [&] {
        if (any) {
            endField();
            records.push_back(std::move(record));
        }
        record = SRecord{line, {}};
        field.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') {
                    ++line;
                }
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            any = true;
        } else if (c == u',') {
            endField();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            ++line;
            endRecord();
        } else {
            field += c;
            any = true;
        }
    }
    endRecord();
    return records;
}

QByteArray Line(const QStringList& fields) {
    QStringList cells;
    for (const QString& field : fields) {
        const bool quote = field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
                           field.contains(u'\r') || field != field.trimmed();
        cells << (quote ? u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"'
                        : field);
    }
    return cells.join(u',').toUtf8() + '\n';
}

void Problem(std::vector<SImportProblem>& problems, int line, const QString& message) {
    problems.push_back({line, message});
}

// The rows of the file after its header, or nothing after the problem that stops the reading: not
// UTF-8, no header, a wrong header.
std::optional<std::vector<SRecord>> Rows(const QByteArray& csv, ETable table, int& headerLine,
                                         std::vector<SImportProblem>& problems) {
    const qsizetype bad = FirstInvalidUtf8(csv);
    if (bad >= 0) {
        Problem(problems, static_cast<int>(csv.left(bad).count('\n')) + 1, T(kMsgNotUtf8));
        return std::nullopt;
    }
    QString text = QString::fromUtf8(csv);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    std::vector<SRecord> records = Records(text);
    const QStringList header = Header(table);
    const auto matches = [&header](const QStringList& fields) {
        if (fields.size() != header.size()) {
            return false;
        }
        for (qsizetype i = 0; i < header.size(); ++i) {
            if (fields[i].trimmed().compare(header[i], Qt::CaseInsensitive) != 0) {
                return false;
            }
        }
        return true;
    };
    if (records.empty() || !matches(records.front().fields)) {
        Problem(problems, records.empty() ? 1 : records.front().line,
                Message(kMsgHeader, {header.join(u',')}));
        return std::nullopt;
    }
    headerLine = records.front().line;
    records.erase(records.begin());
    return records;
}

// Whether a row has the columns of its table; the other rows are still read, so that every bad
// line is named at once.
bool HasWidth(const SRecord& row, qsizetype columns, std::vector<SImportProblem>& problems) {
    if (row.fields.size() == columns) {
        return true;
    }
    Problem(problems, row.line,
            Message(kMsgColumns, {QString::number(columns), QString::number(row.fields.size())}));
    return false;
}

void CheckRowCount(const std::vector<SRecord>& rows, int lowest, int highest, int headerLine,
                   std::vector<SImportProblem>& problems) {
    const int count = static_cast<int>(rows.size());
    if (count >= lowest && count <= highest) {
        return;
    }
    const int line = count > highest ? rows[static_cast<std::size_t>(highest)].line : headerLine;
    Problem(problems, line,
            Message(kMsgRowCount,
                    {QString::number(lowest), QString::number(highest), QString::number(count)}));
}

QString BadValue(const QString& column, const QString& value) {
    return Message(kMsgBadValue, {column, value.trimmed()});
}

// The message of a refusal by the rules; a refusal without one is an invalid value.
QString RuleMessage(const CEditResult& result) {
    return T(result.MessageId() != 0 ? result.MessageId() : kMsgInvalidValue);
}

CDataItem Child(const CDataItem& parent, const char* name) {
    return parent.GetChildByName(QString::fromLatin1(name));
}

qint64 Number(const CDataItem& item, const char* attribute) {
    return item.GetAttributeValue(QString::fromLatin1(attribute)).toLongLong();
}

struct SBand {
    qint64 start;
    qint64 end;
};

SBand Band(const CDataItem& root) {
    const CDataItem limit = Child(root, "limit");
    return {Number(limit, "start_freq"), Number(limit, "end_freq")};
}

SFrequencyEntry EntryAt(const CDataItem& frequencies, int index) {
    const CDataItem entry = frequencies.GetChildByIndex(index);
    return {static_cast<quint32>(Number(entry, "freq")),
            static_cast<quint32>(Number(entry, "bandwidth")),
            static_cast<quint32>(Number(entry, "power_level")),
            static_cast<quint32>(Number(entry, "compander_lle_mode"))};
}

bool operator==(const SFrequencyEntry& a, const SFrequencyEntry& b) {
    return a.hertz == b.hertz && a.bandwidth == b.bandwidth && a.power == b.power &&
           a.compander == b.compander;
}

// Only the first numberChannels records are channels of the radio; the rest are spare records.
int ChannelCount(const CDataItem& root) {
    const int records = Child(root, "channels").GetChildCount();
    const int inUse = static_cast<int>(Number(Child(root, "setting"), "numberChannels"));
    return std::min(inUse, records);
}

int MaxChannels(const CDataItem& root) {
    return std::min(kMaxChannelRecords,
                    static_cast<int>(Number(Child(root, "limit"), "maxChannels")));
}

// ---------------------------------------------------------------- frequency table

QByteArray ExportFrequencies(const CDataItem& root) {
    QByteArray out = Line(kFrequencyHeader);
    const CDataItem frequencies = Child(root, "frequencies");
    const std::vector<SWord> bandwidths = EntryBandwidthWords();
    const std::vector<SWord> powers = EntryPowerWords();
    const std::vector<SWord> companders = CompanderWords();
    for (int i = 0; i < frequencies.GetChildCount(); ++i) {
        const SFrequencyEntry entry = EntryAt(frequencies, i);
        out += Line({QString::number(i + 1), Megahertz(entry.hertz),
                     WordOf(bandwidths, static_cast<int>(entry.bandwidth)),
                     WordOf(powers, static_cast<int>(entry.power)),
                     WordOf(companders, static_cast<int>(entry.compander))});
    }
    return out;
}

struct SFrequencyRow {
    int line;
    SFrequencyEntry entry;
};

std::optional<SFrequencyEntry> ReadFrequencyRow(const SRecord& row, const SBand& band,
                                                std::map<quint32, int>& seen,
                                                std::vector<SImportProblem>& problems) {
    const std::size_t before = problems.size();
    SFrequencyEntry entry;
    const std::optional<quint32> hertz = Hertz(row.fields[1]);
    if (!hertz) {
        Problem(problems, row.line, BadValue(kFrequencyHeader[1], row.fields[1]));
    } else if (IsMursFrequency(*hertz)) {
        Problem(problems, row.line, T(kMsgMurs));
    } else if (*hertz < band.start || *hertz > band.end) {
        Problem(problems, row.line, T(kMsgOutOfBand));
    } else if (const auto [first, fresh] = seen.emplace(*hertz, row.line); !fresh) {
        Problem(problems, row.line,
                Message(kMsgDuplicate, {Megahertz(*hertz), QString::number(first->second)}));
    } else {
        entry.hertz = *hertz;
    }
    const std::optional<int> bandwidth = CodeOf(EntryBandwidthWords(), row.fields[2], 3);
    if (!bandwidth) {
        Problem(problems, row.line, T(kMsgBandwidth));
    }
    const std::optional<int> power = CodeOf(EntryPowerWords(), row.fields[3], 3);
    if (!power) {
        Problem(problems, row.line, T(kMsgPower));
    }
    const std::optional<int> compander = CodeOf(CompanderWords(), row.fields[4], 255);
    if (!compander) {
        Problem(problems, row.line, BadValue(kFrequencyHeader[4], row.fields[4]));
    }
    if (problems.size() != before) {
        return std::nullopt;
    }
    entry.bandwidth = static_cast<quint32>(*bandwidth);
    entry.power = static_cast<quint32>(*power);
    entry.compander = static_cast<quint32>(*compander);
    return entry;
}

// Frequencies that no entry holds now or after the import, within the band, to park an entry on
// while the entries change places: the rules refuse a frequency that another entry still holds.
class CParking {
public:
    CParking(const SBand& band, std::set<quint32> taken)
        : m_next(band.start), m_end(band.end), m_taken(std::move(taken)) {}
    std::optional<quint32> Next() {
        while (m_next <= m_end) {
            const qint64 hertz = m_next++;
            if (m_taken.count(static_cast<quint32>(hertz)) == 0 && !IsMursFrequency(hertz)) {
                return static_cast<quint32>(hertz);
            }
        }
        return std::nullopt;
    }

private:
    qint64 m_next;
    qint64 m_end;
    std::set<quint32> m_taken;
};

// Entry n of the table becomes row n: entries beyond the file go first (from the end, so that no
// channel's position moves), then the entries held now change, then the rest are added.
bool ApplyFrequencies(CDataItem& root, const std::vector<SFrequencyRow>& rows, int lastLine,
                      std::vector<SImportProblem>& problems) {
    CDataItem frequencies = Child(root, "frequencies");
    const int wanted = static_cast<int>(rows.size());
    for (int i = frequencies.GetChildCount() - 1; i >= wanted; --i) {
        const CEditResult removed = frequencies.RemoveChildByIndex(i, EConfirmation::Confirmed);
        if (!removed.IsAccepted()) {
            Problem(problems, lastLine, RuleMessage(removed));
        }
    }
    const int held = std::min(wanted, frequencies.GetChildCount());
    std::vector<SFrequencyEntry> before;
    std::set<quint32> taken;
    std::set<quint32> after;
    for (int i = 0; i < frequencies.GetChildCount(); ++i) {
        before.push_back(EntryAt(frequencies, i));
        taken.insert(before.back().hertz);
    }
    for (const SFrequencyRow& row : rows) {
        taken.insert(row.entry.hertz);
        after.insert(row.entry.hertz);
    }
    const auto set = [&](int i, const SFrequencyEntry& entry) {
        const CEditResult result = frequencies.SetFreqAttributeValue(static_cast<quint32>(i), entry,
                                                                     EConfirmation::Confirmed);
        if (!result.IsAccepted()) {
            Problem(problems, rows[static_cast<std::size_t>(i)].line, RuleMessage(result));
        }
        return result.IsAccepted();
    };
    CParking parking(Band(root), std::move(taken));
    std::vector<bool> failed(static_cast<std::size_t>(held), false);
    // An entry whose frequency another row takes is parked first, with its new codes, so that the
    // channels using it are aligned once as they will be.
    for (int i = 0; i < held; ++i) {
        const SFrequencyEntry& wish = rows[static_cast<std::size_t>(i)].entry;
        const quint32 now = before[static_cast<std::size_t>(i)].hertz;
        if (now != wish.hertz && after.count(now) != 0) {
            const std::optional<quint32> spot = parking.Next();
            SFrequencyEntry parked = wish;
            parked.hertz = spot.value_or(wish.hertz);
            failed[static_cast<std::size_t>(i)] = !set(i, parked);
        }
    }
    for (int i = 0; i < held; ++i) {
        const SFrequencyEntry& wish = rows[static_cast<std::size_t>(i)].entry;
        if (!failed[static_cast<std::size_t>(i)] &&
            !(before[static_cast<std::size_t>(i)] == wish)) {
            set(i, wish);
        }
    }
    for (int i = held; i < wanted; ++i) {
        const CEditResult added = frequencies.AddFrequency(rows[static_cast<std::size_t>(i)].entry);
        if (!added.IsAccepted()) {
            Problem(problems, rows[static_cast<std::size_t>(i)].line, RuleMessage(added));
        }
    }
    return problems.empty();
}

void ImportFrequencies(CProfileDocument& document, const std::vector<SRecord>& records,
                       int headerLine, SImportResult& result) {
    const CDataItem root = document.Model().RootItem();
    CheckRowCount(records, 0, kMaxFrequencies, headerLine, result.problems);
    const SBand band = Band(root);
    std::map<quint32, int> seen;
    std::vector<SFrequencyRow> rows;
    for (const SRecord& record : records) {
        if (!HasWidth(record, kFrequencyHeader.size(), result.problems)) {
            continue;
        }
        if (const std::optional<SFrequencyEntry> entry =
                ReadFrequencyRow(record, band, seen, result.problems)) {
            rows.push_back({record.line, *entry});
        }
    }
    if (!result.problems.empty()) {
        return;
    }
    const int lastLine = records.empty() ? headerLine : records.back().line;
    result.applied = document.ApplyAsOneStep(T(kTextImportStep), [&] {
        CDataItem current = document.Model().RootItem();
        return ApplyFrequencies(current, rows, lastLine, result.problems);
    });
}

// ---------------------------------------------------------------- channels

QByteArray ExportChannels(const CDataItem& root) {
    QByteArray out = Line(ChannelHeader());
    const CDataItem channels = Child(root, "channels");
    const CDataItem frequencies = Child(root, "frequencies");
    const CDataItem setting = Child(root, "setting");
    const int tableSize = frequencies.GetChildCount();
    const int count = ChannelCount(root);
    for (int i = 0; i < count; ++i) {
        const CDataItem channel = channels.GetChildByIndex(i);
        QStringList fields;
        for (const SChannelColumn& column : kChannelColumns) {
            const QString attribute = QString::fromLatin1(column.attribute);
            switch (column.kind) {
                case EKind::Index:
                    fields << QString::number(i + 1);
                    break;
                case EKind::Name:
                    fields << channel.GetAttributeValue(attribute).toString();
                    break;
                case EKind::Frequency: {
                    // A position beyond the table has no frequency; the empty cell is refused on
                    // import, as the channel page shows such a channel "Out of range".
                    const int index = static_cast<int>(Number(channel, column.attribute));
                    fields << (index >= 0 && index < tableSize
                                   ? Megahertz(EntryAt(frequencies, index).hertz)
                                   : QString());
                    break;
                }
                case EKind::Code:
                    fields << squelch::CodeItemText(
                        static_cast<int>(Number(channel, column.attribute)), setting,
                        QStringLiteral("."));
                    break;
                default:
                    fields << WordOf(Words(column.kind),
                                     static_cast<int>(Number(channel, column.attribute)));
                    break;
            }
        }
        out += Line(fields);
    }
    return out;
}

// One channel as the file wants it: the value of every column but the index, as stored.
struct SChannelRow {
    int line;
    QString name;
    std::array<qint64, kChannelColumns.size()> values{};
};

// What the channel page makes sure of: a frequency whose entry allows only one bandwidth or power
// level brings it.
void CheckForcedChoice(const SRecord& record, const CDataItem& frequencies, qint64 index,
                       qint64 bandwidth, qint64 power, std::vector<SImportProblem>& problems) {
    const SFrequencyEntry entry = EntryAt(frequencies, static_cast<int>(index));
    if (entry.bandwidth <= 1 && bandwidth != entry.bandwidth) {
        Problem(problems, record.line, T(kMsgBandwidth));
    }
    if (entry.power <= 1 && power != entry.power) {
        Problem(problems, record.line, T(kMsgPower));
    }
}

std::optional<SChannelRow> ReadChannelRow(const SRecord& record, const CDataItem& root,
                                          const std::map<quint32, int>& table,
                                          std::map<QString, int>& names,
                                          std::vector<SImportProblem>& problems) {
    const std::size_t before = problems.size();
    const CDataItem limit = Child(root, "limit");
    const SBand band = Band(root);
    const int maxCodes = static_cast<int>(Number(limit, "maxCodes"));
    SChannelRow row{record.line, {}, {}};
    for (std::size_t c = 1; c < kChannelColumns.size(); ++c) {
        const SChannelColumn& column = kChannelColumns[c];
        const QString header = QString::fromLatin1(column.header);
        const QString& cell = record.fields[static_cast<qsizetype>(c)];
        std::optional<qint64> value;
        switch (column.kind) {
            case EKind::Index:
                break;
            case EKind::Name: {
                // The page keeps what is typed without its outer blanks; the rules judge the rest.
                row.name = cell.trimmed();
                const auto [first, fresh] = names.emplace(row.name.toUpper(), record.line);
                if (!fresh) {
                    Problem(problems, record.line,
                            Message(kMsgDuplicate, {row.name, QString::number(first->second)}));
                }
                value = 0;
                break;
            }
            case EKind::Frequency: {
                const std::optional<quint32> hertz = Hertz(cell);
                if (!hertz) {
                    Problem(problems, record.line, BadValue(header, cell));
                } else if (IsMursFrequency(*hertz)) {
                    Problem(problems, record.line, T(kMsgMurs));
                } else if (*hertz < band.start || *hertz > band.end) {
                    Problem(problems, record.line, T(kMsgOutOfBand));
                } else if (const auto found = table.find(*hertz); found == table.end()) {
                    Problem(problems, record.line, Message(kMsgNoFrequency, {Megahertz(*hertz)}));
                } else {
                    value = found->second;
                }
                break;
            }
            case EKind::Code: {
                const std::optional<int> number = squelch::NumberOfItemText(cell);
                if (!number || *number > maxCodes) {
                    Problem(problems, record.line, BadValue(header, cell));
                } else {
                    value = *number;
                }
                break;
            }
            case EKind::Bandwidth:
            case EKind::Power:
            case EKind::Scramble:
            case EKind::Flag: {
                const int highest = column.kind == EKind::Scramble ? 3 : 1;
                const std::optional<int> code = CodeOf(Words(column.kind), cell, highest);
                if (!code) {
                    Problem(problems, record.line,
                            column.kind == EKind::Bandwidth ? T(kMsgBandwidth)
                            : column.kind == EKind::Power   ? T(kMsgPower)
                                                            : BadValue(header, cell));
                } else {
                    value = *code;
                }
                break;
            }
        }
        if (value) {
            row.values[c] = *value;
        }
    }
    if (problems.size() != before) {
        return std::nullopt;
    }
    const CDataItem frequencies = Child(root, "frequencies");
    // Columns 3 to 5 are the receive side, 7 to 9 the transmit side.
    CheckForcedChoice(record, frequencies, row.values[3], row.values[4], row.values[5], problems);
    CheckForcedChoice(record, frequencies, row.values[7], row.values[8], row.values[9], problems);
    if (problems.size() != before) {
        return std::nullopt;
    }
    return row;
}

// A name no channel has now or after the import, to park a channel's name on while the names
// change places: the rules refuse a name another channel still has.
QString ParkingName(std::set<QString>& taken) {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("{%1}").arg(n);
        if (taken.insert(name.toUpper()).second) {
            return name;
        }
    }
}

// The channel count first (added channels are enabled; a channel the file enables is enabled
// before any other goes, so that the rules never see the last enabled channel disabled or
// deleted), then the names, the settings, the disabling, and the scan list last, since disabling
// takes a channel out of it.
bool ApplyChannels(CDataItem& root, const std::vector<SChannelRow>& rows, int lastLine,
                   std::vector<SImportProblem>& problems) {
    CDataItem channels = Child(root, "channels");
    const int wanted = static_cast<int>(rows.size());
    const auto channel = [&channels](int i) { return channels.GetChildByIndex(i); };
    const auto write = [&](int i, const char* attribute, const QVariant& value) {
        CDataItem item = channel(i);
        const QString name = QString::fromLatin1(attribute);
        const int line = rows[static_cast<std::size_t>(i)].line;
        if (item.AttributeText(name) == value.toString() ||
            (value.typeId() == QMetaType::Bool &&
             item.GetAttributeValue(name).toBool() == value.toBool())) {
            return;
        }
        if (const std::optional<QString> refusal = item.SchemaRefusal(name, value)) {
            Problem(problems, line, *refusal);
            return;
        }
        const CEditResult result = item.SetAttributeValue(name, value, EConfirmation::Confirmed);
        if (!result.IsAccepted()) {
            Problem(problems, line, RuleMessage(result));
        }
    };
    const auto flag = [&rows](int i, int column) {
        return rows[static_cast<std::size_t>(i)].values[static_cast<std::size_t>(column)] != 0;
    };

    for (int count = ChannelCount(root); count < wanted; ++count) {
        if (!channels.CanAddChild() || channels.AddNewChild().IsEmpty()) {
            Problem(problems, rows[static_cast<std::size_t>(count)].line, T(kMsgInvalidValue));
            return false;
        }
    }
    for (int i = 0; i < wanted; ++i) {
        if (!flag(i, kColumnDisabled)) {
            write(i, "disable_channel", false);
        }
    }
    for (int i = ChannelCount(root) - 1; i >= wanted; --i) {
        const CEditResult removed = channels.RemoveChildByIndex(i, EConfirmation::Confirmed);
        if (!removed.IsAccepted()) {
            Problem(problems, lastLine, RuleMessage(removed));
        }
    }

    std::set<QString> taken;
    std::set<QString> wantedNames;
    for (int i = 0; i < channels.GetChildCount(); ++i) {
        taken.insert(channel(i).GetAttributeValue(QStringLiteral("name")).toString().toUpper());
    }
    for (const SChannelRow& row : rows) {
        taken.insert(row.name.toUpper());
        wantedNames.insert(row.name.toUpper());
    }
    for (int i = 0; i < wanted; ++i) {
        const QString now = channel(i).GetAttributeValue(QStringLiteral("name")).toString();
        if (now.toUpper() != rows[static_cast<std::size_t>(i)].name.toUpper() &&
            wantedNames.count(now.toUpper()) != 0) {
            write(i, "name", ParkingName(taken));
        }
    }
    for (int i = 0; i < wanted; ++i) {
        write(i, "name", rows[static_cast<std::size_t>(i)].name);
    }

    for (int i = 0; i < wanted; ++i) {
        const SChannelRow& row = rows[static_cast<std::size_t>(i)];
        for (std::size_t c = 0; c < kChannelColumns.size(); ++c) {
            const SChannelColumn& column = kChannelColumns[c];
            if (column.kind == EKind::Index || column.kind == EKind::Name ||
                static_cast<int>(c) == kColumnDisabled || static_cast<int>(c) == kColumnScanList) {
                continue;
            }
            if (column.kind == EKind::Flag || column.kind == EKind::Bandwidth ||
                column.kind == EKind::Power) {
                write(i, column.attribute, row.values[c] != 0);
            } else {
                write(i, column.attribute, static_cast<qint32>(row.values[c]));
            }
        }
    }
    for (int i = 0; i < wanted; ++i) {
        if (flag(i, kColumnDisabled)) {
            write(i, "disable_channel", true);
        }
    }
    for (int i = 0; i < wanted; ++i) {
        write(i, "in_scanlist", flag(i, kColumnScanList));
    }
    return problems.empty();
}

void ImportChannels(CProfileDocument& document, const std::vector<SRecord>& records, int headerLine,
                    SImportResult& result) {
    const CDataItem root = document.Model().RootItem();
    CheckRowCount(records, 1, MaxChannels(root), headerLine, result.problems);
    std::map<quint32, int> table;
    const CDataItem frequencies = Child(root, "frequencies");
    for (int i = frequencies.GetChildCount() - 1; i >= 0; --i) {
        table[EntryAt(frequencies, i).hertz] = i;
    }
    std::map<QString, int> names;
    std::vector<SChannelRow> rows;
    for (const SRecord& record : records) {
        if (!HasWidth(record, static_cast<qsizetype>(kChannelColumns.size()), result.problems)) {
            continue;
        }
        if (std::optional<SChannelRow> row =
                ReadChannelRow(record, root, table, names, result.problems)) {
            rows.push_back(std::move(*row));
        }
    }
    if (!result.problems.empty()) {
        return;
    }
    const int lastLine = records.back().line;
    result.applied = document.ApplyAsOneStep(T(kTextImportStep), [&] {
        CDataItem current = document.Model().RootItem();
        return ApplyChannels(current, rows, lastLine, result.problems);
    });
}

}  // namespace

QByteArray Export(const CDataItem& root, ETable table) {
    return table == ETable::Frequencies ? ExportFrequencies(root) : ExportChannels(root);
}

SImportResult Import(CProfileDocument& document, ETable table, const QByteArray& csv) {
    SImportResult result;
    // Where a complaint about the rows as a whole goes.
    int headerLine = 1;
    const std::optional<std::vector<SRecord>> rows = Rows(csv, table, headerLine, result.problems);
    if (!rows) {
        return result;
    }
    result.rows = static_cast<int>(rows->size());
    if (table == ETable::Frequencies) {
        ImportFrequencies(document, *rows, headerLine, result);
    } else {
        ImportChannels(document, *rows, headerLine, result);
    }
    std::stable_sort(
        result.problems.begin(), result.problems.end(),
        [](const SImportProblem& a, const SImportProblem& b) { return a.line < b.line; });
    // Entries beyond the file that the rules keep all report on the last line, with one message.
    result.problems.erase(std::unique(result.problems.begin(), result.problems.end(),
                                      [](const SImportProblem& a, const SImportProblem& b) {
                                          return a.line == b.line && a.message == b.message;
                                      }),
                          result.problems.end());
    if (!result.problems.empty()) {
        result.applied = false;
    }
    return result;
}

QString ProblemText(const SImportProblem& problem) {
    return CStringTable::Instance().Format(kMsgLine,
                                           {QString::number(problem.line), problem.message});
}

QString NothingImportedText() {
    return T(kMsgNothingImported);
}

}  // namespace profile_csv
