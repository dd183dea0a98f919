#include "report/pdfpages.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <cctype>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The unsigned number at `at` (after blanks); -1 when there is none.
qint64 numberAt(const QByteArray &text, int at, int *end = nullptr)
{
    while (at < text.size() && (text.at(at) == ' ' || text.at(at) == '\n' || text.at(at) == '\r'))
        ++at;
    qint64 value = -1;
    for (; at < text.size() && isDigit(text.at(at)); ++at)
        value = (value < 0 ? 0 : value * 10) + (text.at(at) - '0');
    if (end)
        *end = at;
    return value;
}

// The object numbers of the "N 0 R" references in `text`.
QVector<int> referencesIn(const QByteArray &text)
{
    QVector<int> numbers;
    for (int at = text.indexOf(" 0 R"); at > 0; at = text.indexOf(" 0 R", at + 4)) {
        int start = at;
        while (start > 0 && isDigit(text.at(start - 1)))
            --start;
        const bool endsThere = at + 4 == text.size() || !isalnum(uchar(text.at(at + 4)));
        if (start < at && endsThere)
            numbers << text.mid(start, at - start).toInt();
    }
    return numbers;
}

// The object a dictionary entry such as "/Root 2 0 R" points to; -1 when there is none.
int referenceOf(const QByteArray &dictionary, const char *key)
{
    const int at = dictionary.indexOf(key);
    if (at < 0)
        return -1;
    int end = 0;
    const qint64 number = numberAt(dictionary, at + int(qstrlen(key)), &end);
    return dictionary.mid(end).startsWith(" 0 R") ? int(number) : -1;
}

// An object without its stream: the part where references can stand.
QByteArray dictionaryOf(const QByteArray &object)
{
    const int stream = object.indexOf("stream\n");
    return stream < 0 ? object : object.left(stream);
}

QByteArray xrefEntry(qint64 offsetOrNext, const char *generationAndType)
{
    return QByteArray::number(offsetOrNext).rightJustified(10, '0') + ' ' + generationAndType
           + " \n";
}

} // namespace

QVector<QByteArray> splitPdfPages(const QByteArray &pdf)
{
    const int startxref = pdf.lastIndexOf("startxref");
    const qint64 xrefAt = startxref < 0 ? -1 : numberAt(pdf, startxref + 9);
    if (xrefAt <= 0 || xrefAt >= pdf.size() || pdf.mid(int(xrefAt), 5) != "xref\n")
        return {};
    int at = int(xrefAt) + 5;
    if (numberAt(pdf, at, &at) != 0)
        return {};
    const qint64 size = numberAt(pdf, at, &at);
    const int trailerAt = pdf.indexOf("trailer", at);
    if (size <= 0 || size > 1000000 || trailerAt < 0)
        return {};

    // Each object runs from its offset to the next one's, the last one to the table.
    QMap<qint64, int> byOffset;
    const QList<QByteArray> lines = pdf.mid(at, trailerAt - at).trimmed().split('\n');
    if (lines.size() != size)
        return {};
    for (int number = 1; number < size; ++number) {
        const QByteArray &line = lines.at(number);
        if (line.trimmed().endsWith('n'))
            byOffset.insert(numberAt(line, 0), number);
    }
    QMap<int, QByteArray> objects;
    for (auto it = byOffset.cbegin(); it != byOffset.cend(); ++it) {
        const auto next = std::next(it);
        const qint64 end = next == byOffset.cend() ? xrefAt : next.key();
        const QByteArray object = pdf.mid(int(it.key()), int(end - it.key()));
        if (!object.startsWith(QByteArray::number(it.value()) + " 0 obj"))
            return {};
        objects.insert(it.value(), object);
    }

    const QByteArray trailer = pdf.mid(trailerAt);
    const int root = referenceOf(trailer, "/Root");
    const int info = referenceOf(trailer, "/Info");
    const int tree = referenceOf(objects.value(root), "/Pages");
    const QByteArray treeObject = objects.value(tree);
    const int kidsAt = treeObject.indexOf("/Kids");
    const int kidsEnd = treeObject.indexOf(']', kidsAt);
    if (root < 0 || tree < 0 || kidsAt < 0 || kidsEnd < 0 || !objects.contains(info))
        return {};
    const QVector<int> pages = referencesIn(treeObject.mid(kidsAt, kidsEnd - kidsAt));

    QVector<QByteArray> documents;
    for (const int page : pages) {
        // What the page uses; its parent is the page tree, written anew with this page alone.
        QSet<int> used{root, info, tree, page};
        QVector<int> pending{page};
        while (!pending.isEmpty()) {
            const QByteArray object = objects.value(pending.takeLast());
            if (object.isEmpty())
                return {};
            for (const int number : referencesIn(dictionaryOf(object))) {
                if (!objects.contains(number))
                    return {};
                if (!used.contains(number)) {
                    used.insert(number);
                    pending << number;
                }
            }
        }

        QByteArray out = pdf.left(int(byOffset.firstKey()));
        QVector<qint64> offsets(int(size), -1);
        for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
            if (!used.contains(it.key()))
                continue;
            offsets[it.key()] = out.size();
            if (it.key() == tree) {
                out += QByteArray::number(tree) + " 0 obj\n<<\n/Type /Pages\n/Kids ["
                       + QByteArray::number(page) + " 0 R]\n/Count 1\n>>\nendobj\n";
            } else {
                out += it.value();
            }
        }
        // Unused numbers are free entries, chained from entry 0.
        const qint64 table = out.size();
        out += "xref\n0 " + QByteArray::number(size) + '\n';
        int nextFree = 0;
        QVector<QByteArray> entries(static_cast<int>(size));
        for (int number = int(size) - 1; number >= 0; --number) {
            if (offsets.at(number) >= 0) {
                entries[number] = xrefEntry(offsets.at(number), "00000 n");
            } else {
                entries[number] = xrefEntry(nextFree, number == 0 ? "65535 f" : "00001 f");
                nextFree = number;
            }
        }
        for (const QByteArray &entry : qAsConst(entries))
            out += entry;
        out += "trailer\n<<\n/Size " + QByteArray::number(size) + "\n/Info "
               + QByteArray::number(info) + " 0 R\n/Root " + QByteArray::number(root)
               + " 0 R\n>>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
        documents << out;
    }
    return documents;
}
