#include "librarycommand.h"

#include "core/librarysettings.h"
#include "core/pathmanager.h"
#include "library/install/libraryarchive.h"
#include "library/install/libraryinstaller.h"
#include "library/install/librarysources.h"
#include "library/librarycache.h"

#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

#include <cstdio>

namespace {

const QString englishLocale = QStringLiteral("en_GB");

bool askYesNo(const QString &question, QTextStream &err)
{
    err << question << " [y/N] ";
    err.flush();
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

QString folderState(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("missing");
    return QFileInfo::exists(LibraryCache::cachePath(QDir::cleanPath(folder)))
               ? QStringLiteral("cached")
               : QStringLiteral("no-cache");
}

int listLibraries(const QString &sources, QTextStream &out)
{
    for (const LibraryPath &library : PathManager::instance().libraryPaths()) {
        out << "configured\t" << library.path << '\t' << (library.enabled ? "enabled" : "disabled")
            << '\t' << (library.system ? "system" : "user") << '\t' << folderState(library.path)
            << '\n';
    }
    for (const LibraryPath &library : LibrarySources::installableLibraries(sources)) {
        out << "installable\t" << LibrarySources::identifier(library) << '\t'
            << library.info.value(QStringLiteral("category")).toString() << '\t'
            << (QFileInfo(library.path).isDir() ? "installed" : "available") << '\t'
            << LibrarySources::readableName(library, englishLocale) << '\t'
            << library.info.value(QStringLiteral("url")).toString() << '\n';
    }
    return 0;
}

int installLibraries(const QStringList &identifiers, const QString &sources, bool yes,
                     QTextStream &out, QTextStream &err)
{
    const QVector<LibraryPath> installable = LibrarySources::installableLibraries(sources);
    QVector<LibraryPath> chosen;
    for (const QString &identifier : identifiers) {
        auto found = std::find_if(installable.begin(), installable.end(),
                                  [&identifier](const LibraryPath &library) {
                                      return LibrarySources::identifier(library) == identifier;
                                  });
        if (found == installable.end()) {
            err << "raman-cli library install: unknown library '" << identifier
                << "'; see raman-cli library list\n";
            return 2;
        }
        if (!chosen.contains(*found))
            chosen.append(*found);
    }

    err << "The chosen libraries come with these terms:\n\n"
        << LibrarySources::licenceText(LibrarySources::vendorIds(chosen),
                                       QStringLiteral("From: ${VENDOR_WEBSITE}\n"
                                                      "Terms: ${VENDOR_LICENSE}\n\n"),
                                       sources);
    if (!yes && !askYesNo(QStringLiteral("Accept these terms and install?"), err)) {
        err << "raman-cli library install: terms not accepted, nothing installed\n";
        return 1;
    }

    QVector<LibraryPath> queue;
    for (const LibraryPath &library : qAsConst(chosen)) {
        const QString identifier = LibrarySources::identifier(library);
        if (QFileInfo::exists(library.path)) {
            const QString question = QStringLiteral("Replace the existing installation in '%1'?")
                                         .arg(QDir::toNativeSeparators(library.path));
            if (!yes && !askYesNo(question, err)) {
                out << identifier << "\tskipped\t" << library.path << '\n';
                continue;
            }
            if (!LibraryInstaller::removeInstallation(library)) {
                err << "raman-cli library install: cannot remove "
                    << QDir::toNativeSeparators(library.path) << '\n';
                out << identifier << "\tfailed\t" << library.path << '\n';
                continue;
            }
        }
        queue.append(library);
    }

    LibraryInstaller installer;
    QEventLoop loop;
    int shownPercent = -1;
    // Context `loop` lives on this thread, so reports from the worker arrive queued.
    QObject::connect(&installer, &LibraryInstaller::statusMessage, &loop,
                     [&err](const QString &message, int type) {
                         const char *tag = type == LibraryArchive::Error     ? "error"
                                           : type == LibraryArchive::Success ? "success"
                                                                             : "info";
                         err << '[' << tag << "] " << message << '\n';
                         err.flush();
                     });
    QObject::connect(
        &installer, &LibraryInstaller::downloadProgress, &loop, [&](qint64 bytes, qint64 maxBytes) {
            const int percent = maxBytes > 0 ? int(bytes * 100 / maxBytes) : -1;
            if (percent < 0 || percent / 10 == shownPercent / 10)
                return;
            shownPercent = percent;
            err << "downloading " << LibrarySources::identifier(installer.currentDownload()) << ": "
                << percent << "%\n";
            err.flush();
        });
    QObject::connect(&installer, &LibraryInstaller::progressChanged, &loop,
                     [&shownPercent]() { shownPercent = -1; });
    QObject::connect(&installer, &LibraryInstaller::finished, &loop, &QEventLoop::quit);
    installer.start(queue);
    if (!installer.isDone())
        loop.exec();
    // Deliver the last queued reports of the worker before the summary.
    QCoreApplication::processEvents();

    for (const LibraryPath &library : installer.installed()) {
        LibrarySettings::enableLibraryPath(library.path);
        out << LibrarySources::identifier(library) << "\tinstalled\t" << library.path << '\n';
    }
    for (const LibraryPath &library : installer.failed())
        out << LibrarySources::identifier(library) << "\tfailed\t" << library.path << '\n';
    return installer.failed().isEmpty() && queue.size() == chosen.size() ? 0 : 1;
}

} // namespace

int runLibraryCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "list: prints the configured library folders (configured, path, enabled|disabled, "
        "system|user, cached|no-cache|missing) and the installable libraries (installable, id, "
        "category, installed|available, name, URL) as TSV.\n"
        "install: shows the licence terms, downloads and installs the libraries ID, builds "
        "their caches and adds them to the configured folders; prints id, "
        "installed|failed|skipped, folder as TSV and the progress on stderr."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("list or install"));
    parser.addPositionalArgument(QStringLiteral("ID"), QStringLiteral("libraries to install"),
                                 QStringLiteral("[ID...]"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("accept the licence terms and replace existing "
                                                "installations without asking"));
    const QCommandLineOption sources(
        QStringLiteral("sources"),
        QStringLiteral("read the installable libraries from FILE (same format as the built-in "
                       "list) instead of the built-in list"),
        QStringLiteral("FILE"), LibrarySources::builtInList());
    parser.addOptions({yes, sources});
    if (!parser.parse(QStringList{QStringLiteral("raman-cli library")} + arguments)) {
        err << "raman-cli library: " << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString action = positional.value(0);
    const QString sourceList = parser.value(sources);
    if (parser.isSet(sources) && !QFileInfo(sourceList).isFile()) {
        err << "raman-cli library: cannot read " << QDir::toNativeSeparators(sourceList) << '\n';
        return 2;
    }
    if (action == QLatin1String("list") && positional.size() == 1)
        return listLibraries(sourceList, out);
    if (action == QLatin1String("install") && positional.size() > 1)
        return installLibraries(positional.mid(1), sourceList, parser.isSet(yes), out, err);
    err << "raman-cli library: expected 'list' or 'install ID...'; see raman-cli library --help\n";
    return 2;
}
