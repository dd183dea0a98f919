#include "formatreaders.h"

#include <QRegularExpression>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <type_traits>

// Thermo/Galactic SPC, the "new" layout: a 512-byte header, an optional common x array, then
// subfiles of a 32-byte header and their values; a log block may follow.
namespace {

constexpr int HeaderSize = 512;
constexpr int SubheaderSize = 32;

enum Flags : quint8 {
    ShortY = 0x01,    // 16-bit integer ordinates
    Multifile = 0x04, // more than one subfile
    XyPerSubfile = 0x40,
    XArray = 0x80, // x values stored, not evenly spaced
};

// The reader of little-endian (0x4B) and big-endian (0x4C) files alike.
class Bytes
{
public:
    Bytes(const QByteArray &content, bool bigEndian)
        : m_content(content)
        , m_bigEndian(bigEndian)
    {}

    bool has(qint64 offset, qint64 size) const
    {
        return offset >= 0 && size >= 0 && offset + size <= m_content.size();
    }
    template<typename T>
    T at(qint64 offset) const
    {
        if (!has(offset, sizeof(T)))
            return T{};
        using Bits = std::conditional_t<sizeof(T) == 8, quint64,
                                        std::conditional_t<sizeof(T) == 4, quint32, quint16>>;
        Bits bits;
        std::memcpy(&bits, m_content.constData() + offset, sizeof(T));
        bits = m_bigEndian ? qFromBigEndian(bits) : qFromLittleEndian(bits);
        T value;
        std::memcpy(&value, &bits, sizeof(T));
        return value;
    }
    QString text(qint64 offset, int size) const
    {
        const QByteArray bytes = m_content.mid(int(offset), size);
        const int end = bytes.indexOf('\0');
        return QString::fromLatin1(end < 0 ? bytes : bytes.left(end)).trimmed();
    }

private:
    const QByteArray &m_content;
    bool m_bigEndian;
};

RawSpectrum::Axis axisOf(quint8 code, QString *unit)
{
    using Axis = RawSpectrum::Axis;
    switch (code) {
    case 0:
        *unit = QStringLiteral("arbitrary");
        return Axis::RamanShift;
    case 1:
        *unit = QStringLiteral("1/cm");
        return Axis::Wavenumber;
    case 2:
        *unit = QStringLiteral("um");
        return Axis::Micrometers;
    case 3:
        *unit = QStringLiteral("nm");
        return Axis::Nanometers;
    case 13:
        *unit = QStringLiteral("Raman shift 1/cm");
        return Axis::RamanShift;
    default:
        *unit = QStringLiteral("code %1").arg(code);
        return Axis::Unsupported;
    }
}

// The log block's text holds "key=value" lines; some instruments note the laser there.
double laserFromLog(const Bytes &bytes, qint64 offset)
{
    if (offset <= 0 || !bytes.has(offset, 64))
        return NAN;
    const qint64 size = bytes.at<qint32>(offset);
    const qint64 textOffset = bytes.at<qint32>(offset + 8);
    if (size <= textOffset || textOffset < 0 || !bytes.has(offset + textOffset, size - textOffset))
        return NAN;
    const QString text = bytes.text(offset + textOffset, int(size - textOffset));
    static const QRegularExpression laser(
        QStringLiteral("^[^=\\n]*(laser|excitation)[^=\\n]*=([^\\r\\n]*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = laser.match(text);
    return match.hasMatch() ? FormatText::laserFromValue(match.captured(2)) : NAN;
}

} // namespace

RawSpectrum readSpc(const QByteArray &content)
{
    RawSpectrum raw;
    if (content.size() < 2) {
        raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return raw;
    }
    const char version = content.at(1);
    if (version == 0x4D) {
        raw.problem = SpectrumImport::tr("das alte SPC-Format (vor 1996) wird nicht unterstützt");
        return raw;
    }
    const Bytes bytes(content, version == 0x4C);
    if (!bytes.has(0, HeaderSize)) {
        raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return raw;
    }
    const quint8 flags = quint8(content.at(0));
    const qint8 fileExponent = qint8(content.at(3));
    const qint64 points = bytes.at<qint32>(4);
    const double first = bytes.at<double>(8);
    const double last = bytes.at<double>(16);
    const qint64 subfiles = (flags & Multifile) ? bytes.at<qint32>(24) : 1;
    raw.axis = axisOf(quint8(content.at(28)), &raw.xUnit);
    raw.title = bytes.text(88, 130);
    raw.laserWavelength = laserFromLog(bytes, bytes.at<qint32>(248));

    const bool xyPerSubfile = flags & XyPerSubfile;
    if ((!xyPerSubfile && (points < 1 || points > MaximumSpectrumPoints)) || subfiles < 1
        || subfiles > MaximumSpectrumPoints) {
        raw.problem
            = SpectrumImport::tr("unsinnige Punktzahl %1").arg(xyPerSubfile ? subfiles : points);
        return raw;
    }
    qint64 offset = HeaderSize;
    if ((flags & XArray) && !xyPerSubfile) {
        if (!bytes.has(offset, 4 * points)) {
            raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
            return raw;
        }
        raw.x.resize(int(points));
        for (int i = 0; i < points; ++i)
            raw.x[i] = bytes.at<float>(offset + 4 * i);
        offset += 4 * points;
    }
    if (!bytes.has(offset, SubheaderSize)) {
        raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return raw;
    }
    qint8 exponent = qint8(content.at(int(offset) + 1));
    if (!(flags & Multifile) || exponent == 0)
        exponent = fileExponent ? fileExponent : exponent;
    qint64 count = points;
    if (xyPerSubfile) {
        count = bytes.at<qint32>(offset + 16);
        if (count < 1 || count > MaximumSpectrumPoints) {
            raw.problem = SpectrumImport::tr("unsinnige Punktzahl %1").arg(count);
            return raw;
        }
    }
    offset += SubheaderSize;
    const bool floats = quint8(exponent) == 0x80;
    const int width = floats || !(flags & ShortY) ? 4 : 2;
    if (!bytes.has(offset, (xyPerSubfile ? 4 * count : 0) + width * count)) {
        raw.problem = SpectrumImport::tr("die Datei ist abgeschnitten");
        return raw;
    }
    if (xyPerSubfile) {
        raw.x.resize(int(count));
        for (int i = 0; i < count; ++i)
            raw.x[i] = bytes.at<float>(offset + 4 * i);
        offset += 4 * count;
    } else if (raw.x.isEmpty()) {
        raw.x.resize(int(count));
        for (int i = 0; i < count; ++i)
            raw.x[i] = count > 1 ? first + (last - first) * i / double(count - 1) : first;
    }
    // Integer ordinates are fixed-point: value * 2^(exponent - bits).
    const double scale = std::ldexp(1.0, exponent - 8 * width);
    raw.y.resize(int(count));
    for (int i = 0; i < count; ++i) {
        const qint64 at = offset + width * i;
        raw.y[i] = floats       ? double(bytes.at<float>(at))
                   : width == 2 ? bytes.at<qint16>(at) * scale
                                : bytes.at<qint32>(at) * scale;
    }
    if (subfiles > 1)
        raw.notes.append(
            SpectrumImport::tr("die Datei enthält %1 Spektren, nur das erste wurde gelesen")
                .arg(subfiles));
    return raw;
}
