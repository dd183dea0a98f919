#pragma once

#include <QByteArray>
#include <QVector>

// The pages of a PDF as documents of their own, each holding only the objects its page uses, so
// that pages drawn together share the work of embedding their fonts. Empty when the document is
// not laid out as QPdfWriter writes it: one cross-reference table, one flat page tree.
QVector<QByteArray> splitPdfPages(const QByteArray &pdf);
