#include "listcommand.h"

#include "clicommand.h"

#include "browse/savedatabrowsefiltermodel.h"
#include "browse/savedatabrowsemodel.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <iterator>

namespace {

// Header texts depend on the language, so scripts get fixed English names as well.
const char *const columnKeys[]
    = {"count", "rating", "collection", "name", "contents", "created", "changed", "id"};

// A column number, key or header text (any case); -1 when none of them.
int columnFromName(const SaveDataBrowseModel &model, const QString &name)
{
    bool isNumber = false;
    const int number = name.toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number < model.columnCount() ? number : -1;
    for (int column = 0; column < int(std::size(columnKeys)); ++column) {
        if (name.compare(QLatin1String(columnKeys[column]), Qt::CaseInsensitive) == 0)
            return column;
    }
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString().compare(name, Qt::CaseInsensitive)
            == 0)
            return column;
    }
    return -1;
}

// Tabs and line breaks inside a value would break the table.
QString cell(const QVariant &value)
{
    QString text = value.toString();
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

} // namespace

int runListCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists every measurement folder below DIR as the program's measurement list does: one "
        "tab-separated row per measurement with the columns #, rating, collection, name, "
        "contents, created, changed and unique id (dates in the short format of the system "
        "locale), followed by the folder path. Without filter options every measurement is "
        "listed."));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("folder to search"));
    const QCommandLineOption owner(QStringLiteral("owner"),
                                   QStringLiteral("owner contains TEXT (any case)"),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption result(QStringLiteral("result"),
                                    QStringLiteral("identifications contain TEXT (any case)"),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption id(QStringLiteral("id"),
                                QStringLiteral("collection number contains TEXT (any case)"),
                                QStringLiteral("TEXT"));
    const QCommandLineOption minRating(
        QStringLiteral("min-rating"),
        QStringLiteral("hide rated measurements below N stars (default 0)"), QStringLiteral("N"),
        QStringLiteral("0"));
    const QCommandLineOption hideEmpty(
        QStringLiteral("hide-empty"),
        QStringLiteral("hide measurements without an identified measuring point"));
    const QCommandLineOption hideUnrated(QStringLiteral("hide-unrated"),
                                         QStringLiteral("hide measurements without a rating"));
    const QCommandLineOption sort(
        QStringLiteral("sort"),
        QStringLiteral("sort by a column: its number (0-7), header text or one of count, rating, "
                       "collection, name, contents, created, changed, id; append :desc for "
                       "descending order (default: rating)"),
        QStringLiteral("COLUMN[:desc]"), QStringLiteral("1"));
    const QCommandLineOption header(QStringLiteral("header"),
                                    QStringLiteral("print the column headers first"));
    parser.addOptions({owner, result, id, minRating, hideEmpty, hideUnrated, sort, header});
    if (const auto done = parseCommandLine(parser, "list", arguments, 1, 1, "DIR", out, err))
        return *done;
    const QString directory = parser.positionalArguments().constFirst();
    if (!QFileInfo(directory).isDir()) {
        err << "raman-cli list: " << QDir::toNativeSeparators(directory) << " is not a directory\n";
        return 1;
    }

    SaveDataBrowseFilterModel::Filter filter;
    filter.owner = parser.value(owner);
    filter.result = parser.value(result);
    filter.identifier = parser.value(id);
    bool ratingOk = false;
    filter.minRating = parser.value(minRating).toInt(&ratingOk);
    if (!ratingOk) {
        err << "raman-cli list: --min-rating needs a whole number, not '" << parser.value(minRating)
            << "'\n";
        return 2;
    }
    filter.hideEmpty = parser.isSet(hideEmpty);
    filter.hideUnrated = parser.isSet(hideUnrated);

    SaveDataBrowseModel model;
    // Read from disk each time: the same order and messages as the folders give.
    model.setIndexPath(QString());
    QString sortColumn = parser.value(sort);
    Qt::SortOrder order = Qt::AscendingOrder;
    if (sortColumn.endsWith(QLatin1String(":desc"), Qt::CaseInsensitive)) {
        sortColumn.chop(5);
        order = Qt::DescendingOrder;
    }
    const int column = columnFromName(model, sortColumn);
    if (column < 0) {
        err << "raman-cli list: unknown --sort column '" << sortColumn << "'\n";
        return 2;
    }

    QEventLoop loop;
    QObject::connect(&model, &SaveDataBrowseModel::loadingFinished, &loop, &QEventLoop::quit);
    model.setDirectory(directory);
    loop.exec();

    SaveDataBrowseFilterModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilter(filter);
    proxy.sort(column, order);

    if (parser.isSet(header)) {
        for (int c = 0; c < model.columnCount(); ++c)
            out << cell(model.headerData(c, Qt::Horizontal)) << '\t';
        out << "folder\n";
    }
    for (int row = 0; row < proxy.rowCount(); ++row) {
        for (int c = 0; c < proxy.columnCount(); ++c)
            out << cell(proxy.index(row, c).data()) << '\t';
        out << cell(proxy.index(row, 0).data(SaveDataBrowseModel::FolderPathRole)) << '\n';
    }
    return 0;
}
