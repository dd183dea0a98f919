#include "spectrum/spectrumfile.h"

#include "core/logging.h"
#include "spectrum/spectrumaxis.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr int reservedPoints = 5000;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Locale-independent number reader over a byte buffer; the process locale may use a decimal comma.
class NumberCursor
{
public:
    NumberCursor(const char *begin, const char *end)
        : m_pos(begin)
        , m_end(end)
    {}

    bool atEnd() const { return m_pos == m_end; }
    void skipWhitespace()
    {
        while (m_pos != m_end && isSpace(*m_pos))
            ++m_pos;
    }
    void skipBlanks()
    {
        while (m_pos != m_end && (*m_pos == ' ' || *m_pos == '\t'))
            ++m_pos;
    }
    char takeChar() { return *m_pos++; }

    // Reads a number at the cursor; false when there is none.
    bool readNumber(double &value)
    {
        const char *start = m_pos;
        if (start != m_end && *start == '+')
            ++start;
        const auto [next, error] = std::from_chars(start, m_end, value);
        if (error == std::errc::invalid_argument)
            return false;
        if (error == std::errc::result_out_of_range) {
            const std::string_view token(start, size_t(next - start));
            const bool tiny = token.find("e-") != std::string_view::npos
                              || token.find("E-") != std::string_view::npos;
            const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
            value = token.front() == '-' ? -magnitude : magnitude;
        }
        m_pos = next;
        return true;
    }

    const char *position() const { return m_pos; }

private:
    const char *m_pos;
    const char *m_end;
};

// Consumes the leading "#" lines and returns the offset of the first data line.
int readHeader(const QByteArray &content, QMap<QString, QString> *header)
{
    static const QRegularExpression keyValue(
        QStringLiteral("\\#\\s*([\\w\\s]*\\w)\\s*\\:\\s*(.*)"));
    int offset = 0;
    while (offset < content.size() && content.at(offset) == '#') {
        int lineEnd = content.indexOf('\n', offset);
        if (lineEnd < 0)
            lineEnd = content.size();
        QByteArray line = content.mid(offset, lineEnd - offset);
        if (line.endsWith('\r'))
            line.chop(1);
        if (header) {
            const QRegularExpressionMatch match = keyValue.match(QString::fromUtf8(line));
            if (match.hasMatch())
                header->insert(match.captured(1), match.captured(2));
        }
        offset = lineEnd + 1;
    }
    return std::min(offset, int(content.size()));
}

} // namespace

QString spectrumAxisDefect(const QVector<double> &x)
{
    for (int k = 0; k < x.size(); ++k) {
        if (!std::isfinite(x[k]))
            return QStringLiteral("x value %1 at point %2 is not finite").arg(x[k]).arg(k);
        if (std::fabs(x[k]) > maximumWavenumber)
            return QStringLiteral("x value %1 at point %2 is beyond %3")
                .arg(x[k])
                .arg(k)
                .arg(maximumWavenumber);
        if (k > 0 && x[k - 1] > x[k])
            return QStringLiteral("x is not sorted either way (point %1)").arg(k);
    }
    return QString();
}

RamanData<Wavenumbers> loadSpectrumFromCSV(const QString &path, QMap<QString, QString> *header)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(logDataIo) << "loadSpectrumFromCSV: failed to open file:" << path;
        return {};
    }
    return spectrumFromText(file.readAll(), path, header);
}

RamanData<Wavenumbers> spectrumFromText(const QByteArray &content, const QString &path,
                                        QMap<QString, QString> *header)
{
    QMap<QString, QString> headerMap;
    const int dataStart = readHeader(content, header ? &headerMap : nullptr);

    RamanData<Wavenumbers> data;
    data.x.reserve(reservedPoints);
    data.y.reserve(reservedPoints);
    NumberCursor cursor(content.constData() + dataStart, content.constData() + content.size());
    for (;;) {
        double x = 0.0;
        double y = 0.0;
        cursor.skipWhitespace();
        if (cursor.atEnd() || !cursor.readNumber(x) || cursor.atEnd())
            break;
        if (cursor.takeChar() == '\n')
            break;
        cursor.skipBlanks();
        if (!cursor.readNumber(y))
            break;
        if (!std::isfinite(x) || !std::isfinite(y)) {
            qCWarning(logDataIo) << "invalid value read from" << path << "at item" << data.x.size()
                                 << ":" << x << y;
        }
        data.x.append(x);
        data.y.append(y);
    }

    if (data.x.size() == data.y.size() && data.x.size() >= 2 && data.x.first() > data.x.last()) {
        qCInfo(logDataLibraries) << "reverting x-axis order for" << path;
        std::reverse(data.x.begin(), data.x.end());
        std::reverse(data.y.begin(), data.y.end());
    }
    const QString defect = spectrumAxisDefect(data.x);
    if (!defect.isEmpty()) {
        qCWarning(logDataLibraries).noquote()
            << "Data from" << path << "refused:" << defect << "- skipping the file.";
        return {};
    }
    data.x.squeeze();
    data.y.squeeze();
    if (header)
        *header = headerMap;
    return data;
}

QString formatSpectrumNumber(double value)
{
    return QString::number(value, 'g', 6);
}

QByteArray spectrumText(const QVector<double> &x, const QVector<double> &y)
{
    QByteArray text;
    const int n = std::min(x.size(), y.size());
    text.reserve(n * 24);
    for (int i = 0; i < n; ++i) {
        text += QByteArray::number(x[i], 'g', 6);
        text += ' ';
        text += QByteArray::number(y[i], 'g', 6);
        text += '\n';
    }
    return text;
}

bool writeSpectrumText(const QString &path, const RamanData<Wavenumbers> &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(spectrumText(data)) < 0 || !file.commit()) {
        qCWarning(logDataIo) << "failed to write spectrum to" << path << ":" << file.errorString();
        return false;
    }
    return true;
}

void readSpectrumPairs(QDataStream &stream, QVector<double> &x, QVector<double> &y)
{
    x.clear();
    y.clear();
    x.reserve(reservedPoints);
    y.reserve(reservedPoints);
    while (!stream.atEnd()) {
        double xi = 0.0;
        double yi = 0.0;
        stream >> xi >> yi;
        if (stream.status() != QDataStream::Ok)
            break;
        x.append(xi);
        y.append(yi);
    }
}

void writeSpectrumPairs(QDataStream &stream, const QVector<double> &x, const QVector<double> &y)
{
    const int n = std::min(x.size(), y.size());
    for (int i = 0; i < n; ++i)
        stream << x[i] << y[i];
}
