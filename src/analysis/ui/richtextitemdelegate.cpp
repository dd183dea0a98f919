#include "analysis/ui/richtextitemdelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QPolygonF>

RichTextItemDelegate::RichTextItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
    m_document.setDocumentMargin(1.0);
    const QString sheet = QStringLiteral("html { color: %1; }");
    const QPalette palette = QApplication::palette();
    m_textStyle = sheet.arg(palette.color(QPalette::Text).name());
    m_highlightedTextStyle = sheet.arg(palette.color(QPalette::HighlightedText).name());
}

void RichTextItemDelegate::prepareDocument(const QStyleOptionViewItem &option,
                                           const QString &text) const
{
    const bool highlighted = option.state.testFlag(QStyle::State_Selected)
                             && option.state.testFlag(QStyle::State_Active);
    m_document.setDefaultFont(option.font);
    m_document.setDefaultStyleSheet(highlighted ? m_highlightedTextStyle : m_textStyle);
    m_document.setHtml(QStringLiteral("<html>%1</html>").arg(text));
}

void RichTextItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    const QString text = panel.text;
    // The style draws background, selection and focus; the text is ours.
    panel.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

    prepareDocument(panel, text);
    const QRect rect = option.rect;
    painter->save();
    painter->setClipRect(rect);
    painter->translate(rect.left() + 3, rect.top());
    m_document.drawContents(painter);
    painter->restore();

    if (m_document.size().width() > rect.width()) {
        const qreal leg = rect.height() / 2.5;
        const QPointF corner = QRectF(rect).bottomRight();
        const QPolygonF triangle(
            QVector<QPointF>{corner, corner - QPointF(0, leg), corner - QPointF(leg, 0)});
        const QPalette &palette = option.palette;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(palette.color(QPalette::Window), 1));
        painter->setBrush(palette.color(QPalette::WindowText));
        painter->drawPolygon(triangle);
        painter->restore();
    }
}

QSizeF RichTextItemDelegate::documentSize(const QFont &font, const QString &html) const
{
    QStyleOptionViewItem option;
    option.font = font;
    prepareDocument(option, html);
    return m_document.size();
}

QSize RichTextItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    prepareDocument(item, item.text);
    return m_document.size().toSize();
}

int RichTextItemDelegate::rowHeight(const QFont &font) const
{
    return int(documentSize(font, QStringLiteral("?<sub>M</sub><sup>M</sup>")).height()) + 1;
}

int RichTextItemDelegate::formulaColumnWidth(const QFont &font) const
{
    return int(documentSize(font, QStringLiteral("MMMMMMMMMMM")).width());
}
