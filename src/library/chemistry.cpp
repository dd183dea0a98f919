#include "library/chemistry.h"

#include "core/logging.h"

#include <QFile>
#include <QRegularExpression>

Chemistry Chemistry::fromFormula(const QString &formulaHtml)
{
    static const QRegularExpression tag(QStringLiteral("<\\s*\\/?\\w+\\s*(\\w+=\"?.*\"?)*\\s*>"));
    Chemistry chemistry;
    chemistry.formulaHtml = formulaHtml;
    chemistry.formulaPlain = QString(formulaHtml).remove(tag);
    const QString &plain = chemistry.formulaPlain;
    for (int i = 0; i < plain.size(); ++i) {
        const char16_t c = plain.at(i).unicode();
        if (c < 'A' || c > 'Z')
            continue;
        const char16_t next = i + 1 < plain.size() ? plain.at(i + 1).unicode() : 0;
        const quint16 second = next >= 'a' && next <= 'z' ? next : 0;
        chemistry.elements.append(quint16(c << 8) | second);
    }
    return chemistry;
}

quint16 Chemistry::elementCode(const QString &symbol)
{
    if (symbol.isEmpty())
        return 0;
    const quint16 first = symbol.at(0).toUpper().unicode() & 0xff;
    const quint16 second = symbol.size() > 1 ? symbol.at(1).toLower().unicode() & 0xff : 0;
    return quint16(first << 8) | second;
}

QString Chemistry::elementSymbol(quint16 code)
{
    QString symbol(QChar(code >> 8));
    if (code & 0xff)
        symbol += QChar(code & 0xff);
    return symbol;
}

QString chemistryKey(const QString &name)
{
    static const QRegularExpression suffix(QStringLiteral("(\\w+)\\-\\(?(\\w+)\\)?"));
    QString key = name;
    key.replace(suffix, QStringLiteral("\\1\\2"));
    key.remove(QLatin1Char('-'));
    return key.toLower();
}

ChemistryTable readChemistryFile(const QString &path)
{
    ChemistryTable table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(logDataLibraries) << "failed to open chemistry file:" << path;
        return table;
    }
    const QString content = QString::fromUtf8(file.readAll());
    for (const QStringRef &line : content.splitRef(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int blank = line.indexOf(QLatin1Char(' '));
        const QStringRef name = blank < 0 ? line : line.left(blank);
        if (name.trimmed().isEmpty())
            continue;
        const QString formula = blank < 0 ? QString() : line.mid(blank + 1).toString().trimmed();
        table.insert(name.toString().toLower(), Chemistry::fromFormula(formula));
    }
    return table;
}
