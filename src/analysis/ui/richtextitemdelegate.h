#pragma once

#include <QStyledItemDelegate>
#include <QTextDocument>

// Paints an item's display text as HTML, so that chemical formulas keep their sub- and
// superscripts. Text wider than the cell is cut and marked with a small triangle.
class RichTextItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit RichTextItemDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // A row high enough for a symbol with both a subscript and a superscript.
    int rowHeight(const QFont &font) const;
    // Room for a formula of usual length.
    int formulaColumnWidth(const QFont &font) const;

private:
    QSizeF documentSize(const QFont &font, const QString &html) const;
    void prepareDocument(const QStyleOptionViewItem &option, const QString &text) const;

    mutable QTextDocument m_document;
    QString m_textStyle;
    QString m_highlightedTextStyle;
};
