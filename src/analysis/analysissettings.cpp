#include "analysis/analysissettings.h"

#include "core/logging.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>

#include <cmath>
#include <optional>

namespace {

const char *const lastSettingsKey = "SpectrumAnalysis/LastSettings";

// Stored by name, so that reordering the combo boxes never changes what a point was found with.
// Index = ProcessingControls::BackgroundMethod and SearchSettings::Method.
const char *const backgroundMethods[] = {"goldindec", "splines", "manual_splines"};
const char *const searchMethods[] = {"peak_detection", "correlation", "manual_lines", "minerals"};

// A point has a few dozen lines at most; more means a broken file.
constexpr int maxStoredPositions = 1000;

// Each setting's key, with its field and the values the controls accept; reading and writing are
// two visitors.
template<typename Settings, typename Visitor>
void visitSettings(Settings &s, Visitor &&v)
{
    auto &c = s.controls;
    v.flag("cut", c.cut);
    v.number("cut_minimum", c.cutMinimum, 0, 5000);
    v.number("cut_maximum", c.cutMaximum, 0, 5000);
    v.flag("smooth", c.smooth);
    v.integer("smoothing_order", c.smoothingOrder, 1, 16);
    v.integer("smoothing_width", c.smoothingWidth, 3, 99);
    v.flag("subtract_background", c.subtractBackground);
    v.name("background_method", c.backgroundMethod, backgroundMethods);
    v.flag("move_points", c.movePoints);
    v.integer("spline_points", c.splinePoints, 4, 64);
    v.flag("show_background_separate", c.showBackgroundSeparate);
    v.positions("control_points", s.controlPoints);
    v.flag("identify", s.identify);
    v.name("search_method", s.searchMethod, searchMethods);
    v.integer("peak_sensitivity", s.sensitivity, -50, 49);
    v.flag("limit_to_visible", s.limitToVisible);
    v.flag("ignore_other_lines", s.ignoreOtherLines);
    v.lines("manual_lines", s.manualLines);
}

bool finite(const QJsonValue &value)
{
    return value.isDouble() && std::isfinite(value.toDouble());
}

class Writer
{
public:
    QJsonObject json;

    void flag(const char *key, bool field) { insert(key, field); }
    void number(const char *key, double field, double, double) { insert(key, field); }
    void integer(const char *key, int field, int, int) { insert(key, field); }
    template<std::size_t N>
    void name(const char *key, int field, const char *const (&names)[N])
    {
        if (field >= 0 && std::size_t(field) < N)
            insert(key, QLatin1String(names[field]));
    }
    void positions(const char *key, const QVector<double> &field)
    {
        QJsonArray array;
        for (double x : field)
            array.append(x);
        insert(key, array);
    }
    void lines(const char *key, const QVector<PeakLine> &field)
    {
        QJsonArray array;
        for (const PeakLine &line : field)
            array.append(QJsonArray{line.wavenumber, line.amplitude});
        insert(key, array);
    }

private:
    void insert(const char *key, const QJsonValue &value)
    {
        json.insert(QLatin1String(key), value);
    }
};

class Reader
{
public:
    explicit Reader(const QJsonObject &json)
        : m_json(json)
    {}

    void flag(const char *key, bool &field)
    {
        read<bool>(key, field, [](const QJsonValue &v) -> std::optional<bool> {
            return v.isBool() ? std::optional<bool>(v.toBool()) : std::nullopt;
        });
    }
    void number(const char *key, double &field, double lowest, double highest)
    {
        read<double>(key, field, [=](const QJsonValue &v) -> std::optional<double> {
            if (finite(v) && v.toDouble() >= lowest && v.toDouble() <= highest)
                return v.toDouble();
            return std::nullopt;
        });
    }
    void integer(const char *key, int &field, int lowest, int highest)
    {
        read<int>(key, field, [=](const QJsonValue &v) -> std::optional<int> {
            const double d = v.toDouble();
            if (finite(v) && d == std::floor(d) && d >= lowest && d <= highest)
                return int(d);
            return std::nullopt;
        });
    }
    template<std::size_t N>
    void name(const char *key, int &field, const char *const (&names)[N])
    {
        read<int>(key, field, [&names](const QJsonValue &v) -> std::optional<int> {
            for (std::size_t i = 0; i < N; ++i) {
                if (v.toString() == QLatin1String(names[i]))
                    return int(i);
            }
            return std::nullopt;
        });
    }
    void positions(const char *key, QVector<double> &field)
    {
        read<QVector<double>>(key, field,
                              [](const QJsonValue &v) -> std::optional<QVector<double>> {
                                  const QJsonArray array = v.toArray();
                                  if (!v.isArray() || array.size() > maxStoredPositions)
                                      return std::nullopt;
                                  QVector<double> positions;
                                  for (const QJsonValue &x : array) {
                                      if (!finite(x))
                                          return std::nullopt;
                                      positions.append(x.toDouble());
                                  }
                                  return positions;
                              });
    }
    void lines(const char *key, QVector<PeakLine> &field)
    {
        read<QVector<PeakLine>>(
            key, field, [](const QJsonValue &v) -> std::optional<QVector<PeakLine>> {
                const QJsonArray array = v.toArray();
                if (!v.isArray() || array.size() > maxStoredPositions)
                    return std::nullopt;
                QVector<PeakLine> lines;
                for (const QJsonValue &line : array) {
                    const QJsonArray pair = line.toArray();
                    if (pair.size() != 2 || !finite(pair[0]) || !finite(pair[1]))
                        return std::nullopt;
                    lines.append({pair[0].toDouble(), pair[1].toDouble()});
                }
                return lines;
            });
    }

private:
    template<typename T, typename Convert>
    void read(const char *key, T &field, Convert convert)
    {
        const QJsonValue value = m_json.value(QLatin1String(key));
        if (value.isUndefined())
            return;
        if (const std::optional<T> converted = convert(value)) {
            field = *converted;
            return;
        }
        // Arrays may be long; their type says enough.
        qCWarning(logUiOptions) << "analysis setting" << key << "is unusable:"
                                << (value.isArray() ? QJsonValue(QStringLiteral("[...]")) : value)
                                << "- keeping the previous one";
    }

    const QJsonObject &m_json;
};

} // namespace

bool AnalysisSettings::operator==(const AnalysisSettings &o) const
{
    const auto sameLines = [](const QVector<PeakLine> &a, const QVector<PeakLine> &b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const PeakLine &x, const PeakLine &y) {
                              return x.wavenumber == y.wavenumber && x.amplitude == y.amplitude;
                          });
    };
    return controls == o.controls && identify == o.identify && searchMethod == o.searchMethod
           && sensitivity == o.sensitivity && limitToVisible == o.limitToVisible
           && ignoreOtherLines == o.ignoreOtherLines && controlPoints == o.controlPoints
           && sameLines(manualLines, o.manualLines);
}

QJsonObject analysisSettingsToJson(const AnalysisSettings &settings)
{
    Writer writer;
    visitSettings(settings, writer);
    return writer.json;
}

AnalysisSettings analysisSettingsFromJson(const QJsonObject &json, const AnalysisSettings &fallback)
{
    AnalysisSettings settings = fallback;
    Reader reader(json);
    visitSettings(settings, reader);
    return settings;
}

AnalysisSettings lastAnalysisSettings()
{
    const QByteArray text = QSettings().value(QLatin1String(lastSettingsKey)).toString().toUtf8();
    if (text.isEmpty())
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject())
        qCWarning(logUiOptions) << "the remembered analysis settings are unreadable, using the "
                                   "defaults";
    return analysisSettingsFromJson(document.object(), AnalysisSettings());
}

void rememberAnalysisSettings(AnalysisSettings settings)
{
    // Lines and control points belong to one spectrum, not to the next.
    settings.controlPoints.clear();
    settings.manualLines.clear();
    QSettings().setValue(
        QLatin1String(lastSettingsKey),
        QString::fromUtf8(
            QJsonDocument(analysisSettingsToJson(settings)).toJson(QJsonDocument::Compact)));
}

AnalysisSettings startingAnalysisSettings(const QJsonObject &stored)
{
    const AnalysisSettings last = lastAnalysisSettings();
    return stored.isEmpty() ? last : analysisSettingsFromJson(stored, last);
}
