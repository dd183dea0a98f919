#pragma once

// A hand-written measurement and stand-in TeX compilers for the report tests.

#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace ReportFixture {

// Two measuring points; the second has no photo and no search result picture.
inline QString writeMeasurement(const QString &folder, const QJsonObject &metadataChanges = {},
                                const QJsonObject &identificationChanges = {})
{
    QJsonObject identification{
        {QStringLiteral("mineral_suggested_auto"), QStringLiteral("Calcite")},
        {QStringLiteral("mineral_suggested_manual"), QStringLiteral("Quartz")},
        {QStringLiteral("mineral_final_identification"), QStringLiteral("Quarz")}};
    for (auto it = identificationChanges.begin(); it != identificationChanges.end(); ++it)
        identification.insert(it.key(), it.value());
    const QJsonObject first{
        {QStringLiteral("exposure_objective"), QStringLiteral("100x/0.9")},
        {QStringLiteral("image_width"), QStringLiteral("85 µm")},
        {QStringLiteral("exposure_data"),
         QJsonObject{{QStringLiteral("exp_time"), 1500},
                     {QStringLiteral("gain"), 2},
                     {QStringLiteral("cam_temp"), -59.123456},
                     {QStringLiteral("ND_filter_used"), QStringLiteral("ND 50%")},
                     {QStringLiteral("exposure_objective"), QStringLiteral("20x")},
                     {QStringLiteral("slitwidth"), 1e-5},
                     {QStringLiteral("laser_wavelength"), 532.1}}},
        {QStringLiteral("identification_data"), identification}};
    const QJsonObject second{
        {QStringLiteral("identification_data"),
         QJsonObject{{QStringLiteral("mineral_final_identification"), QStringLiteral("Calcit")}}}};
    QJsonObject metadata{
        {QStringLiteral("save_data_version"), 11},
        {QStringLiteral("created_as_version"), 11},
        {QStringLiteral("owner"), QStringLiteral("Huber & Söhne")},
        {QStringLiteral("collection_name"), QStringLiteral("Alpen")},
        {QStringLiteral("collection_id"), QStringLiteral("A_17")},
        {QStringLiteral("unique_ident"), QStringLiteral("3f2a61c0-9b1e-4c55-a0a6-6f0c1d2e3f40")},
        {QStringLiteral("location"), QStringLiteral("Sankt Gotthard")},
        {QStringLiteral("found_date"), QStringLiteral("2021-07-14")},
        {QStringLiteral("saved_date"), QStringLiteral("2024-03-02T10:15:00")},
        {QStringLiteral("created_date"), QStringLiteral("2024-02-28T09:00:00")},
        {QStringLiteral("sectors"), QJsonArray{first, second}}};
    for (auto it = metadataChanges.begin(); it != metadataChanges.end(); ++it)
        metadata.insert(it.key(), it.value());
    TestFiles::writeJson(folder + QStringLiteral("/metadata.json"), metadata);

    QDir().mkpath(folder + QStringLiteral("/Location1"));
    QDir().mkpath(folder + QStringLiteral("/Location2"));
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(QColor(90, 120, 60));
    photo.save(folder + QStringLiteral("/Location1/with_laser.jpg"));
    QImage graph(80, 40, QImage::Format_RGB32);
    graph.fill(Qt::white);
    graph.save(folder + QStringLiteral("/Location1/searchresult.png"));
    return folder;
}

// A script standing in for pdflatex, a shell script unless the body names its interpreter.
inline QString writeCompiler(const QString &path, const QByteArray &body, bool executable = true)
{
    TestFiles::write(path, body.startsWith("#!") ? body : "#!/bin/sh\n" + body);
    QFile::setPermissions(path, executable ? QFile::permissions(path) | QFile::ExeOwner
                                           : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// Running and not a zombie.
inline bool processAlive(const QString &pidFile)
{
    QFile file(pidFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(file.readAll().trimmed())));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) != "Z";
}

inline QString pdflatex()
{
    return QStandardPaths::findExecutable(QStringLiteral("pdflatex"));
}

} // namespace ReportFixture
