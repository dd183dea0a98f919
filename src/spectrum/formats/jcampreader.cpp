#include "formatreaders.h"

#include "core/logging.h"

#include <QHash>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

// Labels compare without blanks, dashes, slashes and underscores, in upper case.
QByteArray normalizedLabel(const QByteArray &label)
{
    QByteArray result;
    for (const char c : label)
        if (c != ' ' && c != '-' && c != '/' && c != '_' && c != '\t')
            result.append(char(std::toupper(static_cast<unsigned char>(c))));
    return result;
}

enum class Form { Affn, Sqz, Dif, Dup };

// One value of a compressed (ASDF) or plain data line.
struct Token
{
    Form form;
    double value; // the ordinate, difference or repeat count
};

// Splits a data line into tokens: SQZ "@A-Ia-i", DIF "%J-Rj-r", DUP "S-Zs" start a value, AFFN
// and PAC values start with a digit, sign or point. False for characters of no form.
bool tokenize(const QByteArray &line, QVector<Token> *tokens)
{
    tokens->clear();
    int i = 0;
    const int n = line.size();
    auto digits = [&](int from) {
        int end = from;
        while (end < n && std::isdigit(static_cast<unsigned char>(line[end])))
            ++end;
        return end;
    };
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == ',' || c == ';') {
            ++i;
            continue;
        }
        if (c == '$' && i + 1 < n && line[i + 1] == '$')
            break; // comment to the end of the line
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.') {
            int end = i + 1;
            while (end < n
                   && (std::isdigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
                ++end;
            // An exponent needs its sign; "E5" alone is the SQZ digit +5.
            if (end + 1 < n && (line[end] == 'E' || line[end] == 'e')
                && (line[end + 1] == '+' || line[end + 1] == '-'))
                end = digits(end + 2);
            bool ok = false;
            const double value = line.mid(i, end - i).toDouble(&ok);
            if (!ok)
                return false;
            tokens->append({Form::Affn, value});
            i = end;
            continue;
        }
        Form form;
        int lead;
        if (c == '@') {
            form = Form::Sqz, lead = 0;
        } else if (c >= 'A' && c <= 'I') {
            form = Form::Sqz, lead = c - 'A' + 1;
        } else if (c >= 'a' && c <= 'i') {
            form = Form::Sqz, lead = -(c - 'a' + 1);
        } else if (c == '%') {
            form = Form::Dif, lead = 0;
        } else if (c >= 'J' && c <= 'R') {
            form = Form::Dif, lead = c - 'J' + 1;
        } else if (c >= 'j' && c <= 'r') {
            form = Form::Dif, lead = -(c - 'j' + 1);
        } else if (c >= 'S' && c <= 'Z') {
            form = Form::Dup, lead = c - 'S' + 1;
        } else if (c == 's') {
            form = Form::Dup, lead = 9;
        } else {
            return false;
        }
        const int end = digits(i + 1);
        const QByteArray rest = line.mid(i + 1, end - i - 1);
        double value = std::abs(lead);
        for (const char d : rest)
            value = value * 10 + (d - '0');
        tokens->append({form, lead < 0 ? -value : value});
        i = end;
    }
    return true;
}

// The labelled data records of one block, in order, and the data lines after each.
struct Record
{
    QByteArray label; // normalized
    QString value;
    QVector<QByteArray> lines;
    int firstLine = 0; // number of the first data line in the file
};

double number(const QHash<QByteArray, QString> &labels, const char *label, double fallback)
{
    bool ok = false;
    const double value = labels.value(label).trimmed().toDouble(&ok);
    return ok ? value : fallback;
}

RawSpectrum::Axis axisOf(const QString &units)
{
    const QString unit = units.trimmed().toUpper();
    if (unit == QLatin1String("1/CM") || unit == QLatin1String("CM-1")
        || unit == QLatin1String("CM^-1"))
        return RawSpectrum::Axis::Wavenumber;
    if (unit == QLatin1String("NANOMETERS") || unit == QLatin1String("NM"))
        return RawSpectrum::Axis::Nanometers;
    if (unit == QLatin1String("MICROMETERS") || unit == QLatin1String("UM"))
        return RawSpectrum::Axis::Micrometers;
    if (unit.isEmpty() || unit.contains(QLatin1String("SHIFT")))
        return RawSpectrum::Axis::RamanShift;
    return RawSpectrum::Axis::Unsupported;
}

// Some writers close the data with a line of one value that is no check value but an end mark.
// It is told by coming last, after all declared points.
bool isEndMark(const Record &record, int line, const QVector<Token> &tokens, int points,
               int declared)
{
    if (tokens.size() != 2 || points != declared)
        return false;
    for (int l = line + 1; l < record.lines.size(); ++l)
        if (!record.lines[l].trimmed().isEmpty())
            return false;
    return true;
}

// ##XYDATA=(X++(Y..Y)): each line an abscissa and ordinates, plain or compressed. After a line
// that ends in DIF form, the next line repeats the last ordinate as a check.
bool readXyData(const Record &record, int declared, QVector<double> *ordinates, double *firstLineX,
                QStringList *notes, QString *problem)
{
    QVector<Token> tokens;
    bool checkPending = false;
    for (int l = 0; l < record.lines.size(); ++l) {
        if (!tokenize(record.lines[l], &tokens)) {
            *problem = FormatText::problemLine(record.firstLine + l);
            return false;
        }
        if (tokens.isEmpty())
            continue;
        if (tokens[0].form != Form::Affn) {
            *problem = FormatText::problemLine(record.firstLine + l);
            return false;
        }
        if (l == 0)
            *firstLineX = tokens[0].value;
        bool lastWasDif = false;
        Form previousForm = Form::Affn;
        double previousDifference = 0.0;
        for (int t = 1; t < tokens.size(); ++t) {
            const Token &token = tokens[t];
            if (token.form == Form::Dup) {
                if (ordinates->size() + token.value > MaximumSpectrumPoints) {
                    *problem
                        = SpectrumImport::tr("mehr als %1 Datenpunkte").arg(MaximumSpectrumPoints);
                    return false;
                }
                if (t == 1 || token.value < 1) {
                    *problem = FormatText::problemLine(record.firstLine + l);
                    return false;
                }
                for (int r = 1; r < int(token.value); ++r) {
                    if (previousForm == Form::Dif)
                        ordinates->append(ordinates->constLast() + previousDifference);
                    else
                        ordinates->append(ordinates->constLast());
                }
            } else if (token.form == Form::Dif) {
                if (ordinates->isEmpty()) {
                    *problem = FormatText::problemLine(record.firstLine + l);
                    return false;
                }
                ordinates->append(ordinates->constLast() + token.value);
                previousDifference = token.value;
                previousForm = Form::Dif;
            } else if (t == 1 && checkPending) {
                if (token.value != ordinates->constLast()
                    && isEndMark(record, l, tokens, ordinates->size(), declared)) {
                    qCWarning(logDataIo) << "JCAMP-DX: end mark" << token.value << "in line"
                                         << record.firstLine + l << "differs from the last value"
                                         << ordinates->constLast() << "; all points were read";
                    notes->append(SpectrumImport::tr("die letzte Zeile ist keine gültige "
                                                     "Prüfsumme; alle Datenpunkte wurden gelesen"));
                } else if (token.value != ordinates->constLast()) {
                    *problem
                        = SpectrumImport::tr("die Prüfsumme in Zeile %1 stimmt nicht (%2 statt %3)")
                              .arg(record.firstLine + l)
                              .arg(token.value)
                              .arg(ordinates->constLast());
                    return false;
                }
                previousForm = Form::Affn;
            } else {
                ordinates->append(token.value);
                previousForm = Form::Affn;
            }
            if (token.form != Form::Dup)
                lastWasDif = token.form == Form::Dif;
            if (ordinates->size() > MaximumSpectrumPoints) {
                *problem = SpectrumImport::tr("mehr als %1 Datenpunkte").arg(MaximumSpectrumPoints);
                return false;
            }
        }
        checkPending = lastWasDif;
    }
    return true;
}

// ##XYPOINTS=(XY..XY) and ##PEAK TABLE=(XY..XY) or (XYW..XYW): plain groups of values.
bool readGroups(const Record &record, int groupSize, QVector<double> *x, QVector<double> *y,
                QString *problem)
{
    QVector<Token> tokens;
    QVector<double> values;
    for (int l = 0; l < record.lines.size(); ++l) {
        if (!tokenize(record.lines[l], &tokens)) {
            *problem = FormatText::problemLine(record.firstLine + l);
            return false;
        }
        for (const Token &token : qAsConst(tokens)) {
            if (token.form != Form::Affn) {
                *problem = FormatText::problemLine(record.firstLine + l);
                return false;
            }
            values.append(token.value);
        }
        if (values.size() > 3 * MaximumSpectrumPoints) {
            *problem = SpectrumImport::tr("mehr als %1 Datenpunkte").arg(MaximumSpectrumPoints);
            return false;
        }
    }
    if (values.size() % groupSize != 0) {
        *problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return false;
    }
    for (int i = 0; i < values.size(); i += groupSize) {
        x->append(values[i]);
        y->append(values[i + 1]);
    }
    return true;
}

} // namespace

RawSpectrum readJcampDx(const QByteArray &content)
{
    RawSpectrum raw;
    const QVector<QByteArray> lines = FormatText::lines(content);
    // A LINK file nests blocks, each opened by ##TITLE and closed by ##END; the first block that
    // holds data is read and the rest ignored.
    QHash<QByteArray, QString> labels;
    const Record *data = nullptr;
    QVector<Record> records;
    bool closed = false;
    for (int i = 0; i < lines.size() && !closed; ++i) {
        const QByteArray line = lines[i].trimmed();
        if (!line.startsWith("##")) {
            if (!records.isEmpty())
                records.last().lines.append(line);
            continue;
        }
        const int equals = line.indexOf('=');
        Record record;
        record.label = normalizedLabel(line.mid(2, equals < 0 ? -1 : equals - 2));
        QByteArray value = equals < 0 ? QByteArray() : line.mid(equals + 1);
        const int comment = value.indexOf("$$");
        if (comment >= 0)
            value.truncate(comment);
        record.value = QString::fromUtf8(value).trimmed();
        record.firstLine = i + 2;
        if (record.label == "TITLE" && !records.isEmpty()) {
            bool hasData = false;
            for (const Record &r : qAsConst(records))
                hasData = hasData || r.label == "XYDATA" || r.label == "XYPOINTS"
                          || r.label == "PEAKTABLE";
            if (!hasData)
                records.clear(); // the LINK block's own header
        }
        if (record.label == "END")
            closed = std::any_of(records.cbegin(), records.cend(), [](const Record &r) {
                return r.label == "XYDATA" || r.label == "XYPOINTS" || r.label == "PEAKTABLE";
            });
        records.append(record);
    }
    if (!closed) {
        raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return raw;
    }
    for (const Record &record : qAsConst(records)) {
        if (!data
            && (record.label == "XYDATA" || record.label == "XYPOINTS"
                || record.label == "PEAKTABLE"))
            data = &record;
        labels.insert(record.label, record.value);
    }
    raw.title = labels.value("TITLE");
    raw.xUnit = labels.value("XUNITS");
    raw.axis = axisOf(raw.xUnit);
    for (auto it = labels.cbegin(); it != labels.cend(); ++it)
        if (it.key().contains("LASERWAVELENGTH") || it.key().contains("EXCITATIONWAVELENGTH"))
            raw.laserWavelength = FormatText::laserFromValue(it.value());
    const double xFactor = number(labels, "XFACTOR", 1.0);
    const double yFactor = number(labels, "YFACTOR", 1.0);
    const double declared = number(labels, "NPOINTS", -1.0);
    if (declared > MaximumSpectrumPoints || (labels.contains("NPOINTS") && declared < 1)) {
        raw.problem = SpectrumImport::tr("unsinnige Punktzahl %1").arg(labels.value("NPOINTS"));
        return raw;
    }

    const QString form = data->value.simplified().remove(QLatin1Char(' ')).toUpper();
    if (data->label == "XYDATA") {
        if (form != QLatin1String("(X++(Y..Y))")) {
            raw.problem
                = SpectrumImport::tr("die Datenform %1 wird nicht unterstützt").arg(data->value);
            return raw;
        }
        double lineX = NAN;
        if (!readXyData(*data, int(declared), &raw.y, &lineX, &raw.notes, &raw.problem))
            return raw;
        const int n = raw.y.size();
        if (declared > 0 && n != int(declared)) {
            raw.problem = SpectrumImport::tr("%1 Datenpunkte statt der angegebenen %2")
                              .arg(n)
                              .arg(int(declared));
            return raw;
        }
        const double firstX = number(labels, "FIRSTX", lineX * xFactor);
        double step = number(labels, "DELTAX", NAN);
        if (labels.contains("LASTX") && n > 1)
            step = (number(labels, "LASTX", NAN) - firstX) / (n - 1);
        if (n > 1 && !std::isfinite(step)) {
            raw.problem = SpectrumImport::tr("der Abstand der x-Werte fehlt");
            return raw;
        }
        raw.x.resize(n);
        for (int i = 0; i < n; ++i)
            raw.x[i] = firstX + i * step;
    } else {
        const int groupSize = form.startsWith(QLatin1String("(XYW")) ? 3 : 2;
        if (!form.startsWith(QLatin1String("(XY"))) {
            raw.problem
                = SpectrumImport::tr("die Datenform %1 wird nicht unterstützt").arg(data->value);
            return raw;
        }
        if (!readGroups(*data, groupSize, &raw.x, &raw.y, &raw.problem))
            return raw;
        if (declared > 0 && raw.x.size() != int(declared)) {
            raw.problem = SpectrumImport::tr("%1 Datenpunkte statt der angegebenen %2")
                              .arg(raw.x.size())
                              .arg(int(declared));
            return raw;
        }
        for (double &x : raw.x)
            x *= xFactor;
    }
    for (double &y : raw.y)
        y *= yFactor;
    return raw;
}
