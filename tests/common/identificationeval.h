#pragma once

// Identification rates of the library search on the RRUFF queries of the shared test data.

#include "library/rlibrary.h"
#include "spectrum/spectrumfile.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <numeric>

struct RruffQuery
{
    QString path;
    QString mineral;
};

// The comma-separated fields of each line of `folder`/INDEX.csv below its header.
inline QVector<QStringList> indexRows(const QString &folder)
{
    QVector<QStringList> rows;
    QFile index(folder + QStringLiteral("/INDEX.csv"));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    index.readLine(); // header
    while (!index.atEnd())
        rows.append(QString::fromUtf8(index.readLine()).trimmed().split(QLatin1Char(',')));
    return rows;
}

// The query files listed in INDEX.csv with the mineral each should be identified as.
inline QVector<RruffQuery> rruffQueries(const QString &rruffDir)
{
    QVector<RruffQuery> queries;
    for (const QStringList &fields : indexRows(rruffDir)) {
        if (fields.size() >= 3 && fields[1].startsWith(QLatin1String("query")))
            queries.append({rruffDir + QStringLiteral("/queries/") + fields[2], fields[0]});
    }
    return queries;
}

struct IdentificationRates
{
    int queries = 0;
    int searched = 0; // queries that got scores at all
    int top1 = 0;
    int top5 = 0;
};

// Rank (0 = best) of the expected mineral among the not excluded spectra ordered by score, counting
// each spectrum; -1 when not among the first five.
inline int spectrumRank(const RLibrary &library, const QVector<double> &scores,
                        const QVector<bool> &excluded, const QString &mineral)
{
    QVector<int> order;
    for (int i = 0; i < scores.size(); ++i) {
        if (!excluded.value(i))
            order.append(i);
    }
    const int top = std::min(5, int(order.size()));
    std::partial_sort(order.begin(), order.begin() + top, order.end(),
                      [&scores](int a, int b) { return scores[a] > scores[b]; });
    for (int rank = 0; rank < top; ++rank) {
        if (library.spectra()[order[rank]].info.name == mineral)
            return rank;
    }
    return -1;
}

inline IdentificationRates identificationRates(const RLibrary &library,
                                               const QVector<RruffQuery> &queries, unsigned flags)
{
    IdentificationRates rates;
    const ProcessingParameters processing = analysisStartParameters();
    for (const RruffQuery &query : queries) {
        ++rates.queries;
        const QVector<double> scores = library.computeCorrelations(
            loadSpectrumFromCSV(query.path), processing, flags, FingerprintParameters());
        rates.searched += !scores.isEmpty();
        const int rank = spectrumRank(library, scores, {}, query.mineral);
        rates.top1 += rank == 0;
        rates.top5 += rank >= 0;
    }
    return rates;
}

// Copies the first `count` (-1: all) reference files of a read-only folder so that a cache can be
// built beside them.
inline bool copyLibraryFolder(const QString &from, const QString &to, int count = -1)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString &file :
         source.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name).mid(0, count)) {
        if (!QFile::copy(source.filePath(file), to + QLatin1Char('/') + file))
            return false;
    }
    return true;
}

// Loads a copy of the first `count` (-1: all) reference spectra of a read-only folder.
inline bool loadLibraryCopy(const QString &from, const QString &copy, RLibrary &library,
                            int count = -1)
{
    if (!copyLibraryFolder(from, copy, count))
        return false;
    LibraryPath path;
    path.path = copy;
    library.setLibraryFolders({path});
    library.readLibraryFromDisk();
    return library.count() > 0;
}
