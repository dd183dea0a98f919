#include "report/summarypage.h"

#include "core/logging.h"
#include "report/pdfpages.h"
#include "storage/savedata.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int dotsPerInch = 600;
constexpr int remarkLines = 5;
constexpr int remarkLineLength = 80;

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString generalNumber(double value)
{
    return QString::number(value, 'g', 6);
}

QFont styled(QFont font, int weight, int pointSize = -1)
{
    font.setWeight(weight);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

// Draws the page in dots of 600 dpi from the top left of the printable area; a text position is
// the left end of its base line.
class SummaryPagePainter
{
    Q_DECLARE_TR_FUNCTIONS(PDFExport)

public:
    SummaryPagePainter(QPainter &painter, const SaveDataMetadata &metadata,
                       const SaveDataSector &sector)
        : m_painter(painter)
        , m_metadata(metadata)
        , m_sector(sector)
        , m_normal(painter.font())
        , m_bold(styled(m_normal, 75))
        , m_footer(styled(m_normal, 10, 6))
        , m_boldMetrics(m_bold, painter.device())
        , m_h(m_boldMetrics.height())
    {}

    void paint()
    {
        paintHeader();
        paintPictures();
        paintRecordingParameters();
        paintIdentification();
        paintFooter();
    }

private:
    double adv(const QString &translated) const
    {
        return m_boldMetrics.horizontalAdvance(translated);
    }
    void text(double x, double y, const QString &s) { m_painter.drawText(QPointF(x, y), s); }

    void picture(const QRectF &area, const QImage &image)
    {
        if (image.isNull())
            return;
        const QSizeF size = QSizeF(image.size()).scaled(area.size(), Qt::KeepAspectRatio);
        m_painter.drawImage(QRectF(area.topLeft(), size), image);
    }

    bool yearOnly() const { return m_metadata.found_date_year_only && !m_metadata.nodate; }

    void paintHeader()
    {
        picture(QRectF(0, 300, 1246, 210),
                QImage(QStringLiteral(":/icons/Logo_Corvalinthe_weiss_1.jpg")));
        m_painter.drawLine(0, 760, 4000, 760);
        m_painter.setFont(m_normal);
        text(0, 680, tr("Raman-Spektrometer (Modell nicht angegeben)"));

        const double row2 = 920 + 1.4 * m_h;
        m_painter.setFont(m_bold);
        text(2600, 680, tr("Id:"));
        text(0, 920, tr("Probe:"));
        text(1900, 920, tr("Ident-Nr.:"));
        text(3000, 920, tr("Sammlung:"));
        text(0, row2, tr("Fundort:"));
        text(1900, row2, yearOnly() ? tr("Fundjahr:") : tr("Funddatum:"));

        const double besidePhoto = adv(tr("BBB")) + 3000;
        text(besidePhoto, 1200 + m_h, tr("Bildbreite:"));
        text(besidePhoto, 1200 + m_h + 1.4 * m_h, tr("Objektiv:"));
        text(0, 5200, tr("Aufnahmeparameter:"));
        text(0, 5800, tr("Identifiziertes Mineral:"));
        text(adv(tr("Laserwellenlänge:")) + 1000, 5800, QStringLiteral("Bemerkung:"));
        const IdentificationData &id = m_sector.identificationData;
        text(0, 5800 + 1.4 * m_h,
             id.mineral_final_identification + QStringLiteral(" (")
                 + generalNumber(id.auto_korrelation) + QLatin1Char(')'));

        m_painter.setFont(m_normal);
        text(adv(tr("Id: ")) + 2600, 680, m_metadata.unique_ident);
        text(3600, 400, dateText(QDate::currentDate()));
        text(adv(tr("Fundort: ")), 920, m_metadata.collection_id);
        text(adv(tr("Sammlung: ")) + 3000, 920, m_metadata.owner);
        text(adv(tr("Fundort: ")), row2, m_metadata.location);
        const double dateLabelWidth = yearOnly() ? adv(tr("Fundjahr: ")) : adv(tr("Funddatum: "));
        // No identifier of the measurement belongs beside "Ident-Nr.:".
        text(1900 + dateLabelWidth, 920, QStringLiteral("–"));
        const QDate &found = m_metadata.found_date;
        if (!m_metadata.nodate && found.isValid()) {
            text(dateLabelWidth + 1900, row2,
                 m_metadata.found_date_year_only ? QString::number(found.year()) : dateText(found));
        }
    }

    void paintPictures()
    {
        picture(QRectF(0, 1200, 3000, 1800), m_sector.withLaserImage);
        const double x = adv(tr("BBB")) + 3000 + adv(tr("Bildbreite: "));
        text(x, 1200 + m_h, m_sector.image_width);
        text(x, 1200 + m_h + 1.4 * m_h, m_sector.exposure_objective);
        picture(QRectF(0, 3200, 3000, 1800), m_sector.identificationData.searchResultImage);
        picture(QRectF(3050, 3200, 840, 1800), m_sector.identificationData.searchResultTableImage);
    }

    void paintRecordingParameters()
    {
        const ExposureData &e = m_sector.exposureData;
        const auto row = [this](int r) { return 5200 + r * 1.4 * m_h; };
        const double value1 = adv(tr("Belichtungszeit:"));
        text(0, row(1), tr("Belichtungszeit:"));
        text(value1, row(1), QString::number(e.exp_time) + QLatin1Char('s'));
        text(0, row(2), tr("Gain:"));
        text(value1, row(2), QString::number(e.gain));
        text(0, row(3), tr("Chip-Temperatur:"));
        text(value1, row(3), generalNumber(e.cam_temp) + QStringLiteral("°C"));

        const double value2 = adv(tr("Laserwellenlänge:")) + 1000;
        text(1000, row(1), tr("Objektiv: "));
        text(value2, row(1), e.exposure_objective);
        text(1000, row(2), tr("Laserwellenlänge:"));
        text(value2, row(2), QStringLiteral("532 nm"));
        text(1000, row(3), tr("Spaltbreite:"));
        text(value2, row(3), tr("manuell"));

        text(2400, row(1), tr("ND-Filter:"));
        text(adv(tr("ND-Filter:")) + 2400, row(1), e.ND_filter_used);
    }

    void paintIdentification()
    {
        const IdentificationData &id = m_sector.identificationData;
        if (!id.mineral_suggested_auto.isEmpty())
            text(0, 5800 + 1.4 * 2 * m_h, tr("Spektrum automatisch identifiziert"));
        else if (!id.mineral_suggested_manual.isEmpty())
            text(0, 5800 + 1.4 * 2 * m_h, tr("Spektrum manuell zugeordnet"));

        const QStringList lines = m_metadata.mineral_comment.split(QLatin1Char('\n'));
        const double x = adv(tr("Laserwellenlänge:")) + 1000;
        for (int i = 1; i <= std::min(remarkLines, int(lines.size())); ++i)
            text(x, 5800 + 1.4 * m_h * i, lines.at(i - 1).left(remarkLineLength));
    }

    void paintFooter()
    {
        static const char *const contact[3][3] = {
            {QT_TRANSLATE_NOOP("PDFExport", "Raman Browser"),
             QT_TRANSLATE_NOOP("PDFExport", "Auswertung von Raman-Messungen"),
             QT_TRANSLATE_NOOP("PDFExport", "Zusammenfassung eines Messpunkts")},
            {QT_TRANSLATE_NOOP("PDFExport", "Hersteller des Spektrometers:"),
             QT_TRANSLATE_NOOP("PDFExport", "nicht angegeben"), ""},
            {QT_TRANSLATE_NOOP("PDFExport", "Kontakt:"),
             QT_TRANSLATE_NOOP("PDFExport", "siehe Dokumentation des Messplatzes"), ""},
        };
        m_painter.setFont(m_footer);
        m_painter.setPen(Qt::gray);
        const double rows[3] = {6600, 6600 + 1.1 * m_h, 6600 + 2.2 * m_h};
        const double columns[3] = {0, 1500, 3000};
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                if (*contact[c][r])
                    text(columns[c], rows[r], tr(contact[c][r]));
            }
        }
    }

    QPainter &m_painter;
    const SaveDataMetadata &m_metadata;
    const SaveDataSector &m_sector;
    QFont m_normal;
    QFont m_bold;
    QFont m_footer;
    QFontMetricsF m_boldMetrics;
    double m_h; // line height of the bold font, the step of every line
};

// The pages of the given sectors in one document; empty when a sector is missing or nothing could
// be painted.
QByteArray pagesPdf(const SaveData &data, const QVector<int> &sectorIndexes)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        qCWarning(logDataIo) << "summary page needs a GUI application object";
        return {};
    }
    for (const int index : sectorIndexes) {
        if (!data.sector(index)) {
            qCWarning(logDataIo) << "summary page: no sector" << index;
            return {};
        }
    }

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(dotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 0, 20, 20), QPageLayout::Millimeter));
        writer.setTitle(
            SummaryPagePainter::tr("Raman-Analyse für %1").arg(data.metadata().collection_id));
        writer.setCreator(SummaryPagePainter::tr("RAMAN-Spektrometer 'Corvalinthe'"));

        QPainter painter;
        if (!painter.begin(&writer)) {
            qCWarning(logDataIo) << "summary page: cannot paint";
            return {};
        }
        // Each page starts as the first one did.
        const QFont font = painter.font();
        const QPen pen = painter.pen();
        for (int k = 0; k < sectorIndexes.size(); ++k) {
            if (k > 0 && !writer.newPage())
                return {};
            painter.setFont(font);
            painter.setPen(pen);
            SummaryPagePainter(painter, data.metadata(), *data.sector(sectorIndexes.at(k))).paint();
        }
        if (!painter.end())
            return {};
    }
    return pdf;
}

} // namespace

QByteArray summaryPagePdf(const SaveData &data, int sectorIndex)
{
    return pagesPdf(data, {sectorIndex});
}

QVector<QByteArray> summaryPagesPdf(const SaveData &data, const QVector<int> &sectorIndexes)
{
    if (sectorIndexes.size() > 1) {
        const QVector<QByteArray> pages = splitPdfPages(pagesPdf(data, sectorIndexes));
        if (pages.size() == sectorIndexes.size())
            return pages;
        qCWarning(logDataIo) << "summary pages drawn together cannot be split; drawn one by one";
    }
    QVector<QByteArray> pages;
    for (const int index : sectorIndexes)
        pages << summaryPagePdf(data, index);
    return pages;
}
