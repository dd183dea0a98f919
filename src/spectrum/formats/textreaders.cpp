#include "formatreaders.h"

#include <QRegularExpression>

#include <optional>

namespace {

// One way of splitting a data line: the field separator (0: blanks) and the decimal mark.
struct Layout
{
    char separator;
    bool decimalComma;
};

// Where commas cannot separate fields they are decimal marks.
constexpr Layout Layouts[] = {{'\t', true}, {';', true}, {',', false}, {0, true}};

bool splitNumbers(const QByteArray &line, Layout layout, QVector<double> *values)
{
    const QList<QByteArray> fields
        = layout.separator ? line.split(layout.separator) : line.simplified().split(' ');
    values->clear();
    for (const QByteArray &field : fields) {
        double value = 0.0;
        if (!FormatText::toDouble(field, &value, layout.decimalComma))
            return false;
        values->append(value);
    }
    return values->size() >= 2;
}

bool isComment(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith('#');
}

RawSpectrum::Axis axisFromColumnTitle(const QString &title, QString *unit)
{
    static const QRegularExpression nanometers(QStringLiteral("\\bnm\\b|wavelength|wellenl"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (title.contains(nanometers)) {
        *unit = QStringLiteral("nm");
        return RawSpectrum::Axis::Nanometers;
    }
    return RawSpectrum::Axis::RamanShift;
}

} // namespace

RawSpectrum readRruffText(const QByteArray &content)
{
    RawSpectrum raw;
    raw.xUnit = QStringLiteral("1/cm");
    const QVector<QByteArray> lines = FormatText::lines(content);
    QString *lastValue = nullptr;
    QString names, wavelength, ignored;
    bool ended = false;
    for (int i = 0; i < lines.size() && !ended; ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty()) {
            lastValue = &ignored; // wrapped lines follow their header line directly
            continue;
        }
        if (line.startsWith("##")) {
            const int equals = line.indexOf('=');
            const QByteArray key = line.mid(2, equals < 0 ? -1 : equals - 2).trimmed().toUpper();
            const QString value = equals < 0 ? QString() : QString::fromUtf8(line.mid(equals + 1));
            lastValue = key == "NAMES"              ? &names
                        : key == "RAMAN WAVELENGTH" ? &wavelength
                                                    : &ignored;
            *lastValue = value;
            ended = key == "END";
            continue;
        }
        double x = 0.0, y = 0.0;
        const int comma = line.indexOf(',');
        if (comma > 0 && FormatText::toDouble(line.left(comma), &x)
            && FormatText::toDouble(line.mid(comma + 1), &y)) {
            raw.x.append(x);
            raw.y.append(y);
        } else if (raw.x.isEmpty() && lastValue) {
            // The newer web export wraps long header values onto lines of their own.
            *lastValue += QLatin1Char(' ') + QString::fromUtf8(line);
        } else {
            raw.problem = FormatText::problemLine(i + 1);
            return raw;
        }
        if (raw.x.size() > MaximumSpectrumPoints) {
            raw.problem = SpectrumImport::tr("mehr als %1 Datenpunkte").arg(MaximumSpectrumPoints);
            return raw;
        }
    }
    raw.title = names;
    raw.laserWavelength = FormatText::laserFromValue(wavelength);
    return raw;
}

RawSpectrum readDelimitedText(const QByteArray &content)
{
    RawSpectrum raw;
    const QVector<QByteArray> lines = FormatText::lines(content);
    int first = 0;
    std::optional<Layout> layout;
    QVector<double> values;
    for (; first < lines.size() && !layout; ++first) {
        if (isComment(lines[first]))
            continue;
        for (const Layout candidate : Layouts)
            if (!layout && splitNumbers(lines[first], candidate, &values))
                layout = candidate;
    }
    if (!layout) {
        raw.problem = SpectrumImport::tr("keine Datenpunkte");
        return raw;
    }
    --first;
    const int columns = values.size();
    // Header lines: "# key: value" or "key: value" pairs, the last plain one titles the columns.
    static const QRegularExpression pair(QStringLiteral("^#?\\s*([\\w\\s]*\\w)\\s*[:=]\\s*(.*)$"));
    QString columnTitles;
    for (int i = 0; i < first; ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        const QRegularExpressionMatch match = pair.match(line);
        if (!match.hasMatch()) {
            if (!line.startsWith(QLatin1Char('#')) && !line.isEmpty())
                columnTitles = line;
            continue;
        }
        const QString key = match.captured(1).toLower();
        if (key.contains(QLatin1String("laser")) || key.contains(QLatin1String("excitation")))
            raw.laserWavelength = FormatText::laserFromValue(match.captured(2));
        else if (key == QLatin1String("title") || key == QLatin1String("name"))
            raw.title = match.captured(2);
    }
    raw.axis = axisFromColumnTitle(
        columnTitles.section(QRegularExpression(QStringLiteral("[\\t;,]|\\s{2,}")), 0, 0),
        &raw.xUnit);
    for (int i = first; i < lines.size(); ++i) {
        if (isComment(lines[i]))
            continue;
        if (!splitNumbers(lines[i], *layout, &values) || values.size() != columns) {
            raw.problem = FormatText::problemLine(i + 1);
            return raw;
        }
        raw.x.append(values[0]);
        raw.y.append(values[1]);
        if (raw.x.size() > MaximumSpectrumPoints) {
            raw.problem = SpectrumImport::tr("mehr als %1 Datenpunkte").arg(MaximumSpectrumPoints);
            return raw;
        }
    }
    if (columns > 2)
        raw.notes.append(SpectrumImport::tr("%1 weitere Spalten nicht gelesen").arg(columns - 2));
    return raw;
}
