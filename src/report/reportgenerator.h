#pragma once

#include "storage/savedata.h"

#include <QMap>
#include <QStringList>

// Makes the PDF report of one measuring point: fills a LaTeX template with the measurement's
// values and runs an external TeX compiler on it in a temporary folder that never outlives the
// call. Every failure is logged and collected as an (untranslated) error text.
class ReportGenerator
{
public:
    explicit ReportGenerator(const SaveData &data);

    // Empty paths select the built-in logo and template.
    void setLogoAndTemplate(const QString &logoPath, const QString &templatePath);
    // Overrides the configured compiler for this generator; empty uses texCompilerPath().
    void setCompilerPath(const QString &path) { m_compilerPath = path; }
    QString compilerPath() const;

    // Writes the report of the measuring point at `row` to `outputFile`.
    bool generate(const QString &outputFile, int row);
    // The error texts of the last generate(), in the order they occurred.
    QStringList errors() const { return m_errors; }

    // Placeholder name (without brackets) to value, for the measuring point at `row`.
    QMap<QString, QString> replacements(int row) const;

    static QString texCompilerPath();
    static void setTexCompilerPath(const QString &path);
    static QStringList texCompilerArguments();

    // Makes text safe for LaTeX so that it prints as typed; every character is replaced at most
    // once.
    static QString latexEscaped(const QString &text);
    // The first error of a TeX log ("! ...") and the input line it stopped at ("l.N ..."), one
    // per line; empty when the log has none.
    static QString firstTexError(const QString &log);
    // Replaces each tr(...) caption by its translation in the context "ReportTemplate".
    static QString translateCaptions(const QString &text);
    static QString substitutePlaceholders(QString text, const QMap<QString, QString> &values);

    static constexpr qint64 maximumTemplateSize = 1024 * 1024;
    static constexpr int compilerTimeoutMs = 15000;

private:
    void addError(const QString &text);
    bool copyImages(const QString &folder, int row);
    QString loadTemplate();
    bool compile(const QString &folder, const QString &source, const QString &outputFile);

    SaveData m_data;
    QMap<QString, QString> m_replacements;
    QStringList m_errors;
    QString m_logoPath;
    QString m_templatePath;
    QString m_compilerPath;
};
