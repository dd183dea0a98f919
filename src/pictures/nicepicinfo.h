#pragma once

#include <QJsonObject>
#include <QString>

// The description of one mineral picture, stored as a JSON file beside it.
struct NicePicInfo
{
    QString version = QStringLiteral("version 1.0");
    QString mineral_name;
    QString author;
    QString collection;
    QString pic_owner;
    QString pic_copyright;
    QString locality;
    QString remark;
    QString filename;
    qint32 mineral_pic_number = 0;

    QJsonObject toJson() const;
    // A missing key gives an empty text or 0.
    static NicePicInfo fromJson(const QJsonObject &json);

    bool operator==(const NicePicInfo &o) const;
    bool operator!=(const NicePicInfo &o) const { return !(*this == o); }
};
