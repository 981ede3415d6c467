#include "core/settings_file.h"

#include "core/clsToken.h"
#include "core/errors.h"
#include "core/program_state.h"
#include "core/safe_file.h"
#include "core/text_codec.h"

#include <QFile>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace tq {

namespace {

constexpr int kNoValueCode = -101;

// ---- Reading ---------------------------------------------------------------------------

// The values of one key line: value n is token n (the key is token 0). A value that the
// line does not carry is absent, and the field it would set keeps its value.
class LineValues {
public:
    explicit LineValues(QStringList values) : m_values(std::move(values)) {}

    std::optional<QString> text(int n) const {
        if (n < 1 || n >= m_values.size())
            return std::nullopt;
        return m_values.at(n);
    }

    // A number in the user's locale (or the C form), blanks around it allowed.
    std::optional<double> number(int n) const {
        const auto t = text(n);
        if (!t)
            return std::nullopt;
        return parseNumber(*t);
    }

    // The value, or `fallback` when it is not a number; absent when the line lacks it.
    std::optional<double> numberOr(int n, double fallback) const {
        if (!text(n))
            return std::nullopt;
        return number(n).value_or(fallback);
    }

    std::optional<bool> truth(int n, const char *trueWord = "TRUE") const {
        const auto t = text(n);
        if (!t)
            return std::nullopt;
        return t->toUpper() == QLatin1String(trueWord);
    }

    static std::optional<double> parseNumber(const QString &raw) {
        const QString t = raw.trimmed();
        bool ok = false;
        double v = QLocale::system().toDouble(t, &ok);
        if (!ok)
            v = QLocale::c().toDouble(t, &ok);
        return ok ? std::optional<double>(v) : std::nullopt;
    }

private:
    QStringList m_values;
};

// Whole numbers are rounded half to even (50.5 gives 50, 51.5 gives 52); a number outside
// the type's range makes the line unusable.
template <typename Int> Int toInteger(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("The number %1 is out of range.").arg(value));
    return static_cast<Int>(rounded);
}

float toSingle(double value) {
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw TqError(ErrorKind::Overflow,
                      QStringLiteral("The number %1 is out of range.").arg(value));
    return static_cast<float>(value);
}

float noValueForMinusOne(float value) {
    return value == -1.0f ? float(kNoValueCode) : value;
}

// Small setters over optional values: an absent value leaves the field alone.
template <typename T, typename F> void with(const std::optional<T> &v, F &&apply) {
    if (v)
        apply(*v);
}

void readInt16(const LineValues &l, int n, double fallback, qint16 &target) {
    with(l.numberOr(n, fallback), [&](double v) { target = toInteger<qint16>(v); });
}

void readSingle(const LineValues &l, int n, double fallback, float &target) {
    with(l.numberOr(n, fallback), [&](double v) { target = toSingle(v); });
}

void readTruth(const LineValues &l, int n, bool &target) {
    with(l.truth(n), [&](bool v) { target = v; });
}

void readText(const LineValues &l, int n, QString &target) {
    with(l.text(n), [&](const QString &v) { target = v; });
}

// An instrument setting read as a whole number and handed to its setter.
void readSetting(const LineValues &l, int n, double fallback,
                 const std::function<void(qint16)> &setter) {
    with(l.numberOr(n, fallback), [&](double v) { setter(toInteger<qint16>(v)); });
}

void readGasSetting(const LineValues &l, int n, const std::function<void(float)> &setter) {
    with(l.numberOr(n, 0), [&](double v) { setter(toSingle(v)); });
}

void readGasInst(const LineValues &l, ProgramState &g) {
    const auto number = l.number(1);
    if (!number)
        return; // not a gas line
    const int slot = toInteger<qint16>(*number) - 1;
    if (slot < 0 || slot >= kGasSlots)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas %1 does not exist.").arg(slot + 1));
    clsInstrument &d = g.DefaultSettings;
    with(l.text(2), [&](const QString &v) { d.setGasName(slot, v); });
    with(l.truth(3), [&](bool v) { d.setGasEnabled(slot, v); });
    readTruth(l, 4, g.GasLocked[slot]);
    readSetting(l, 5, 0, [&](qint16 v) { d.setGasPoint(slot, v); });
    with(l.text(6), [&](const QString &v) { d.setGasUnit(slot, v); });
    readGasSetting(l, 7, [&](float v) { d.setWarning(slot, v); });
    readGasSetting(l, 8, [&](float v) { d.setAlarm(slot, v); });
    readGasSetting(l, 9, [&](float v) { d.setStel(slot, noValueForMinusOne(v)); });
    readGasSetting(l, 10, [&](float v) { d.setTwa(slot, noValueForMinusOne(v)); });
    readGasSetting(l, 11, [&](float v) { d.setGasDesit(slot, v); });
    readGasSetting(l, 12, [&](float v) { d.setGasFullScale(slot, v); });
    readGasSetting(l, 13, [&](float v) { d.setAutoCalib(slot, v); });
    readSingle(l, 14, 0, g.FactAutoCal[slot]);
    with(l.numberOr(15, 0), [&](double v) { g.GraphColors[slot] = toInteger<qint32>(v); });
}

void readChgGas(const LineValues &l, ProgramState &g) {
    const auto slotNumber = l.number(1);
    const auto entryNumber = l.number(2);
    if (!slotNumber || !entryNumber)
        return; // not a gas-table line
    const int slot = toInteger<qint16>(*slotNumber) - 1;
    const int entry = toInteger<qint16>(*entryNumber) - 1;
    if (slot < 0 || slot >= kGasSlots || entry < 0 || entry >= kSelectableGasEntries)
        throw TqError(ErrorKind::SubscriptOutOfRange,
                      QStringLiteral("Gas table entry %1 of gas %2 does not exist.")
                          .arg(entry + 1)
                          .arg(slot + 1));
    SelectableGas &gas = g.ChgGasTable[slot][entry];
    readText(l, 3, gas.Name);
    readTruth(l, 4, gas.Enabled);
    readTruth(l, 5, gas.Locked);
    readInt16(l, 6, 0, gas.Points);
    readText(l, 7, gas.Unit);
    readSingle(l, 8, 0, gas.Warning);
    readSingle(l, 9, 0, gas.Alarm);
    readSingle(l, 10, 0, gas.STEL);
    readSingle(l, 11, 0, gas.TWA);
    readSingle(l, 12, 0, gas.Digit);
    readSingle(l, 13, 0, gas.FullScale);
    readSingle(l, 14, 0, gas.AutoCal);
    gas.STEL = noValueForMinusOne(gas.STEL);
    gas.TWA = noValueForMinusOne(gas.TWA);
}

using KeyReader = std::function<void(const LineValues &, ProgramState &)>;

struct KeyRule {
    const char *key;
    KeyReader read;
};

const std::vector<KeyRule> &readRules() {
    static const std::vector<KeyRule> rules = {
        {"Execute Count",
         [](const LineValues &l, ProgramState &g) {
             with(l.numberOr(1, 0), [&](double v) { g.ExecuteCount = toInteger<qint32>(v); });
         }},
        {"Serial Log File",
         [](const LineValues &l, ProgramState &g) {
             with(l.truth(1, "ON"), [&](bool v) { g.SerialLogOn = v; });
         }},
        {"Factory Record Suffix",
         [](const LineValues &l, ProgramState &g) { readText(l, 1, g.FactoryRecordSuffix); }},
        {"Timeout",
         [](const LineValues &l, ProgramState &g) {
             // A time-out too long for the link's tick counter is clamped, not refused.
             with(l.numberOr(1, 3), [&](double v) {
                 g.CommTimeout = toInteger<qint16>(std::clamp(v, 0.0, double(kMaxCommTimeout)));
             });
         }},
        {"Delay", [](const LineValues &l, ProgramState &g) { readInt16(l, 1, 100, g.CommDelay); }},
        {"Retry", [](const LineValues &l, ProgramState &g) { readInt16(l, 1, 3, g.CommRetry); }},
        {"Auto Load Mode",
         [](const LineValues &l, ProgramState &g) {
             readTruth(l, 1, g.AutoLoadMode);
             readTruth(l, 2, g.AutoRemoveData);
         }},
        {"Font",
         [](const LineValues &l, ProgramState &g) {
             FontSettings &f = g.DisplayFont;
             readText(l, 1, f.Name);
             readSingle(l, 2, 9, f.Size);
             readTruth(l, 3, f.Bold);
             readTruth(l, 4, f.Italic);
             readTruth(l, 5, f.Underline);
         }},
        {"Graph Color",
         [](const LineValues &l, ProgramState &g) {
             qint32 *targets[] = {&g.GraphColor.ScaleColor, &g.GraphColor.BackColor,
                                  &g.GraphColor.CursorColor, &g.GraphColors[0]};
             const double defaults[] = {1, 15790320, 16728128, 0};
             for (int i = 0; i < 4; ++i)
                 with(l.numberOr(i + 1, defaults[i]),
                      [&](double v) { *targets[i] = toInteger<qint32>(v); });
         }},
        {"Calib. Range",
         [](const LineValues &l, ProgramState &g) {
             for (int slot = 0; slot < kGasSlots; ++slot)
                 with(l.numberOr(slot + 1, 0),
                      [&](double v) { g.CalibRange[slot] = float(toInteger<qint32>(v)); });
         }},
        {"DefaultValue1",
         [](const LineValues &l, ProgramState &g) {
             clsInstrument &d = g.DefaultSettings;
             readSetting(l, 1, 90, [&](qint16 v) { d.setCalLimit(v); });
             readSetting(l, 2, 30, [&](qint16 v) { d.setLcdBackLight(v); });
             readSetting(l, 3, 1, [&](qint16 v) { d.setAlarmMode(v); });
             readSetting(l, 4, 5, [&](qint16 v) { d.setIntervals(v); });
             readSetting(l, 5, 0, [&](qint16 v) { d.setDispCalLimit(v); });
             readSetting(l, 6, 0, [&](qint16 v) { d.setCalCheck(v); });
         }},
        {"DefaultValue2",
         [](const LineValues &l, ProgramState &g) {
             clsInstrument &d = g.DefaultSettings;
             readSetting(l, 1, 1, [&](qint16 v) { d.setLogOverWrite(v); });
             readSetting(l, 2, 128, [&](qint16 v) { d.setFlowValue(v); });
             readSetting(l, 3, 1, [&](qint16 v) { d.setAlarmO2(v); });
             readSetting(l, 4, 0, [&](qint16 v) { d.setAutoZero(v); });
             readSetting(l, 5, 1, [&](qint16 v) { d.setDemandZero(v); });
         }},
        {"Gas Inst", readGasInst},
        {"ChgGas", readChgGas},
        {"CalUnitOnWait",
         [](const LineValues &l, ProgramState &g) { readInt16(l, 1, 120, g.CalUnitOnWait); }},
        {"CalSpanOnWait",
         [](const LineValues &l, ProgramState &g) { readInt16(l, 1, 120, g.CalSpanOnWait); }},
        {"CalSpanOffWait",
         [](const LineValues &l, ProgramState &g) { readInt16(l, 1, 30, g.CalSpanOffWait); }},
        {"Data Select",
         [](const LineValues &l, ProgramState &g) {
             for (int i = 0; i < 3; ++i)
                 with(l.truth(i + 1), [&](bool v) { g.MainWindow.DataSelect[i] = v ? 1 : 0; });
         }},
        {"Size Values",
         [](const LineValues &l, ProgramState &g) {
             readInt16(l, 1, 1, g.MainWindow.WindowState);
             readSingle(l, 2, 7680, g.MainWindow.Width);
             readSingle(l, 3, 5760, g.MainWindow.Height);
         }},
        {"Prt Width",
         [](const LineValues &l, ProgramState &g) {
             readSingle(l, 1, 1, g.PrintWidths[0]);
             readSingle(l, 2, 1, g.PrintWidths[1]);
         }},
        {"Completely View",
         [](const LineValues &l, ProgramState &g) { readTruth(l, 1, g.CompletelyView); }},
        {"Trend Search",
         [](const LineValues &l, ProgramState &g) {
             readInt16(l, 1, 0, g.TrendSearchBefore);
             readInt16(l, 2, 0, g.TrendSearchAfter);
         }},
        {"Completely Read",
         [](const LineValues &l, ProgramState &g) { readTruth(l, 1, g.CompletelyRead); }},
        {"TQ-6200",
         [](const LineValues &l, ProgramState &g) {
             with(l.text(1),
                  [&](const QString &v) { g.ProgramPassword = UnscrambleText(UnscrambleText(v)); });
         }},
        {"DataLocation",
         [](const LineValues &l, ProgramState &g) { readText(l, 1, g.DataLocation); }},
        {"LIMITDAYS",
         [](const LineValues &l, ProgramState &g) {
             with(l.numberOr(1, 0),
                  [&](double v) { g.LimitDays = toInteger<qint16>(toInteger<qint32>(v)); });
         }},
    };
    return rules;
}

const KeyRule *findRule(const QString &key) {
    const QString upper = key.toUpper();
    for (const KeyRule &rule : readRules())
        if (upper == QString::fromLatin1(rule.key).toUpper())
            return &rule;
    return nullptr;
}

clsToken makeLineTokenizer() {
    clsToken tokenizer;
    tokenizer.AddDelimiters(QStringLiteral("\t"));
    tokenizer.AddStrings(QStringLiteral("'"));
    tokenizer.AddComments(QStringLiteral(";"));
    // A quote inside a quoted text is written doubled.
    tokenizer.setDoubledQuotes(true);
    return tokenizer;
}

// Splits one line; an empty list for a line the reader skips.
QStringList splitLine(clsToken &tokenizer, const QString &line) {
    tokenizer.setSource(line);
    QStringList tokens;
    for (int i = 0; i < tokenizer.TokenCount(); ++i)
        tokens << tokenizer.Tokens(i);
    return tokens;
}

// ---- Writing ---------------------------------------------------------------------------

QString floatText(float value) {
    QString text = QLocale::system().toString(double(value), 'g', 7);
    text.remove(QLocale::system().groupSeparator());
    return text;
}

QString fontSizeText(float size) {
    QString text = QString::number(double(size), 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QString quoted(const QString &text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// A text that may be empty: an empty one is written as nothing (the reader then keeps
// the variable's value); any other between quotes, so a "'" or ";" in it comes back.
QString optionalText(const QString &text) {
    return text.isEmpty() ? QString() : quoted(text);
}

QString trueFalse(bool v) {
    return v ? QStringLiteral("True") : QStringLiteral("False");
}
QString upperTrueFalse(bool v) {
    return v ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

class SettingsWriter {
public:
    void line(const QString &text = QString()) { m_lines << text; }
    void key(const char *key, const QStringList &values) {
        m_lines << (QString::fromLatin1(key) + QLatin1Char('\t') + values.join(QLatin1Char('\t')));
    }
    void key(const char *key, const QString &value) { this->key(key, QStringList{value}); }
    // An empty line, ";", the text, ";".
    void block(const char *text) {
        line();
        line(QStringLiteral(";"));
        line(QString::fromLatin1(text));
        line(QStringLiteral(";"));
    }
    QString text() const { return m_lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"); }

private:
    QStringList m_lines;
};

QString settingsText(const ProgramState &g) {
    const clsInstrument &d = g.DefaultSettings;
    auto num = [](qint64 v) { return QString::number(v); };
    SettingsWriter w;
    w.line(QStringLiteral(";"));
    w.line(QStringLiteral(";            TQ-6200 Data logger program"));
    w.line(QStringLiteral(";      Last update = ") + Date::now().generalDate());
    w.line(QStringLiteral(";         Delimiter is tab,comma(,) character"));
    w.line(QStringLiteral(";           This file is changed set menu"));
    w.line(QStringLiteral(";"));
    w.line(QStringLiteral("; Texts between ' characters write a ' inside them twice."));
    w.line(QStringLiteral(";"));
    w.line();
    w.key("Execute Count", num(qint64(g.ExecuteCount) + 1));
    w.key("Serial Log File", g.SerialLogOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
    w.key("Factory Record Suffix", optionalText(g.FactoryRecordSuffix));
    w.key("IrCOMM Num", num(g.IrCommPort));
    w.key("COMM Settings", g.CommSettings);
    w.key("Timeout", num(g.CommTimeout == 0 ? 3 : g.CommTimeout));
    w.key("Delay", num(g.CommDelay == 0 ? 300 : g.CommDelay));
    w.key("Retry", num(g.CommRetry == 0 ? 3 : g.CommRetry));
    w.block("; Formats = Autoload enable, Auto remove data enable");
    w.key("Auto Load Mode", {trueFalse(g.AutoLoadMode), trueFalse(g.AutoRemoveData)});
    w.block("; Formats = Name , Size , Bold , Italic , Underline (Font setting)");
    const FontSettings &f = g.DisplayFont;
    w.key("Font", {quoted(f.Name), fontSizeText(f.Size), trueFalse(f.Bold), trueFalse(f.Italic),
                   trueFalse(f.Underline)});
    w.block("; Formats = Scale , Back , Cursor (RGB) (Color datas), Gas1");
    w.key("Graph Color", {num(g.GraphColor.ScaleColor), num(g.GraphColor.BackColor),
                          num(g.GraphColor.CursorColor), num(g.GraphColors[0])});
    w.block("; Formats = Gas1...Gas4 (Calibration Range ... Serial Value Format)");
    w.key("Calib. Range", floatText(g.CalibRange[0]));
    w.block("; Gas Instrument Information.");
    w.line(QStringLiteral(
        "; CalibLimit, BackLightTime, AlarmPattern, IntervalCycle, Cal Disp,  Cal Proc"));
    w.key("DefaultValue1", {num(d.CalLimit()), num(d.LcdBackLight()), num(d.AlarmMode()),
                            num(d.Intervals()), num(d.DispCalLimit()), num(d.CalCheck())});
    w.line(QStringLiteral(
        "; Overwrite, FlowDA, Oxy alarm type, Auto Zero, Demand Zero, Enabled UserPassword"));
    w.key("DefaultValue2", {num(d.LogOverWrite()), num(d.FlowValue()), num(d.AlarmO2()),
                            num(d.AutoZero()), num(d.DemandZero())});
    w.line(QStringLiteral(";"));
    w.line(QStringLiteral("; Gas Instrument Information."));
    w.line(QStringLiteral("; Format = No , Name , Enabled , Locked , Points , Unit , Warning , "
                          "Alarm , STEL , TWA , Digit , FullSacle , AutoCal ,  Fact AutoCal. , "
                          "GraphColor"));
    w.line(QStringLiteral(";"));
    w.key("Gas Inst",
          {QStringLiteral("1"), quoted(d.GasName(0)), upperTrueFalse(d.GasEnabled(0)),
           trueFalse(g.GasLocked[0]), num(d.GasPoint(0)), quoted(d.GasUnit(0)),
           floatText(d.Warning(0)), floatText(d.Alarm(0)), floatText(d.Stel(0)),
           floatText(d.Twa(0)), floatText(d.GasDesit(0)), floatText(d.GasFullScale(0)),
           floatText(d.AutoCalib(0)), floatText(g.FactAutoCal[0]), num(g.GraphColors[0])});
    w.line();
    w.line(QStringLiteral(";"));
    w.line(QStringLiteral(";Changed Gas Lists"));
    w.line(QStringLiteral("; Format = GasNo , No , Name , Enabled , Locked , Points , Unit , "
                          "Warning , Alarm , STEL , TWA , Digit , FullSacle , AutoCal"));
    w.line(QStringLiteral(";"));
    w.line(QStringLiteral("; GasNo 1"));
    for (int entry = 0; entry < 8; ++entry) {
        const SelectableGas &gas = g.ChgGasTable[0][entry];
        w.key("ChgGas",
              {QStringLiteral("1"), num(entry + 1), quoted(gas.Name), upperTrueFalse(gas.Enabled),
               trueFalse(gas.Locked), num(gas.Points), quoted(gas.Unit), floatText(gas.Warning),
               floatText(gas.Alarm), floatText(gas.STEL), floatText(gas.TWA), floatText(gas.Digit),
               floatText(gas.FullScale), floatText(gas.AutoCal)});
    }
    w.line(QStringLiteral(";"));
    w.line(
        QStringLiteral("; Calibration Timer 1 : Cal.Unit On After Zero Calib, Bitween wait time."));
    w.key("CalUnitOnWait", num(g.CalUnitOnWait));
    w.line(QStringLiteral(
        "; Calibration Timer 2 : Span Gas valve On To Span Calib, Bitween wait time."));
    w.key("CalSpanOnWait", num(g.CalSpanOnWait));
    w.line(QStringLiteral(
        "; Calibration Timer 3 : Span valve Off After Cal.Unit Off, Bitween wait time."));
    w.key("CalSpanOffWait", num(g.CalSpanOffWait));
    w.line();
    w.line(QStringLiteral("; "));
    w.line(QStringLiteral("; Format = SerialNo,StationID,UserID"));
    QStringList select;
    for (int value : g.MainWindow.DataSelect)
        select << trueFalse(value == 1);
    w.key("Data Select", select);
    w.block("; Formats = Form status , Form width , Form height (Twips value)");
    w.key("Size Values", {num(g.MainWindow.WindowState), floatText(g.MainWindow.Width),
                          floatText(g.MainWindow.Height)});
    w.block("; Formats = Printing Data Line Width, Printing Scale Line Width");
    w.key("Prt Width", {floatText(g.PrintWidths[0]), floatText(g.PrintWidths[1])});
    w.block("; Format = True or False");
    w.key("Completely View", trueFalse(g.CompletelyView));
    w.block("; ; Format = Before Event , After Event");
    w.key("Trend Search", {num(g.TrendSearchBefore), num(g.TrendSearchAfter)});
    w.line();
    w.line(QStringLiteral(";"));
    w.key("Completely Read", trueFalse(g.CompletelyRead));
    w.line(QStringLiteral(";"));
    w.key("TQ-6200", ScrambleText(ScrambleText(g.ProgramPassword)));
    w.line(QStringLiteral(";"));
    w.key("DataLocation", optionalText(g.DataLocation));
    return w.text();
}

} // namespace

QString SettingsFilePath() {
    QString folder = Globals().AppFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("TQ6200.ini");
}

void LoadSettings() {
    QFile file(SettingsFilePath());
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QString text = DecodeTextFile(file.readAll());
    file.close();

    clsToken tokenizer = makeLineTokenizer();
    ProgramState &g = Globals();
    // A CR LF or a lone CR ends a line.
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &line : normalised.split(QLatin1Char('\n'))) {
        try {
            const QStringList tokens = splitLine(tokenizer, line);
            if (tokens.size() < 2)
                continue;
            const KeyRule *rule = findRule(tokens.at(0));
            if (!rule)
                continue;
            // A line applies whole or not at all: one bad value skips its line only.
            ProgramState candidate = g;
            rule->read(LineValues(tokens), candidate);
            g = std::move(candidate);
        } catch (const TqError &) {
            continue;
        }
    }
}

void SaveSettings() {
    WriteFileAtomically(SettingsFilePath(), settingsText(Globals()).toUtf8());
}

QString ScrambleText(const QString &text) {
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype p = 0; p < text.size(); ++p) {
        const int n = text.at(p).unicode() + int(p);
        // Remainder with the sign of n, quotient rounded down.
        const int low = n % 16;
        const int high = int(std::floor(n / 16.0));
        out += QChar(char16_t(70 + low));
        out += QChar(char16_t(70 + high));
    }
    return out;
}

QString UnscrambleText(const QString &text) {
    QString out;
    out.reserve(text.size() / 2);
    for (qsizetype k = 0; 2 * k + 1 < text.size(); ++k) {
        const int low = (text.at(2 * k).unicode() - 70) % 16;
        const int high = text.at(2 * k + 1).unicode() - 70;
        out += QChar(char16_t(high * 16 + low - int(k)));
    }
    return out;
}

} // namespace tq
