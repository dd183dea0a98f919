#pragma once

// A hand-written measurement, stand-in TeX compilers and PDF reading for the report tests.

#include "storage/savedata.h"
#include "testfiles.h"

#include <QImage>

namespace ReportFixture {

// Two measuring points; the second has no photo and no search result picture.
inline SaveData measurement(const QString &folder, const QJsonObject &changes = {})
{
    const QByteArray first = R"({"exposure_objective": "100x/0.9", "image_width": "85 µm",
        "exposure_data": {"exp_time": 1500, "cam_temp": -59.123456, "ND_filter_used": "ND 50%",
                          "exposure_objective": "20x", "laser_wavelength": 532.1},
        "identification_data": {"mineral_suggested_manual": "Quartz",
                                "mineral_final_identification": "Quarz"}})";
    QJsonObject metadata = QJsonDocument::fromJson(R"({"save_data_version": 11,
        "owner": "Huber & Söhne", "collection_name": "Alpen", "collection_id": "A_17",
        "unique_ident": "3f2a61c0-9b1e", "location": "Sankt Gotthard", "found_date": "2021-07-14",
        "saved_date": "2024-03-02T10:15:00", "created_date": "2024-02-28T09:00:00",
        "sectors": [)" + first + R"(, {"identification_data":
                                      {"mineral_final_identification": "Calcit"}}]})")
                               .object();
    for (auto it = changes.begin(); it != changes.end(); ++it)
        metadata.insert(it.key(), it.value());
    TestFiles::writeJson(folder + S("/metadata.json"), metadata);
    QDir().mkpath(folder + S("/Location1"));
    QDir().mkpath(folder + S("/Location2"));
    QImage(64, 48, QImage::Format_RGB32).save(folder + S("/Location1/searchresult.png"));
    QImage(64, 48, QImage::Format_RGB32).save(folder + S("/Location1/with_laser.jpg"));
    SaveData data;
    data.load(folder, AllSaveDataParts);
    return data;
}

// A script standing in for pdflatex, a shell script unless the body names its interpreter.
inline QString writeCompiler(const QString &path, const QByteArray &body, bool executable = true)
{
    TestFiles::write(path, body.startsWith("#!") ? body : "#!/bin/sh\n" + body);
    QFile::setPermissions(path, executable ? QFile::permissions(path) | QFile::ExeOwner
                                           : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// The process whose id the file holds is running (a zombie does not count).
inline bool processAlive(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QFile stat(S("/proc/%1/stat").arg(QString::fromLatin1(file.readAll().trimmed())));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) != "Z";
}

// Ligatures such as "fi" and the micro sign come back from poppler's tools in compatibility form
// only; what they print and what tests expect are compared in that form.
inline QString normalized(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

// What a program such as pdftotext prints on its standard output.
inline QString toolText(const char *program, const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromLatin1(program), arguments);
    process.waitForFinished(30000);
    return normalized(QString::fromUtf8(process.readAllStandardOutput()));
}

// "a|b" as a list; "" is the empty list.
inline QStringList list(const char *joined)
{
    return joined[0] ? normalized(QString::fromUtf8(joined)).split(u'|') : QStringList();
}

} // namespace ReportFixture
