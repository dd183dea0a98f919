#include "pictures/nicepicinfo.h"

QJsonObject NicePicInfo::toJson() const
{
    return QJsonObject{
        {QStringLiteral("version"), version},
        {QStringLiteral("mineral_name"), mineral_name},
        {QStringLiteral("mineral_pic_number"), mineral_pic_number},
        {QStringLiteral("author"), author},
        {QStringLiteral("remark"), remark},
        {QStringLiteral("filename"), filename},
        {QStringLiteral("collection"), collection},
        {QStringLiteral("pic_owner"), pic_owner},
        {QStringLiteral("pic_copyright"), pic_copyright},
        {QStringLiteral("locality"), locality},
    };
}

NicePicInfo NicePicInfo::fromJson(const QJsonObject &json)
{
    NicePicInfo info;
    info.version = json.value(QStringLiteral("version")).toString();
    info.mineral_name = json.value(QStringLiteral("mineral_name")).toString();
    info.mineral_pic_number = json.value(QStringLiteral("mineral_pic_number")).toInt();
    info.author = json.value(QStringLiteral("author")).toString();
    info.remark = json.value(QStringLiteral("remark")).toString();
    info.filename = json.value(QStringLiteral("filename")).toString();
    info.collection = json.value(QStringLiteral("collection")).toString();
    info.pic_owner = json.value(QStringLiteral("pic_owner")).toString();
    info.pic_copyright = json.value(QStringLiteral("pic_copyright")).toString();
    info.locality = json.value(QStringLiteral("locality")).toString();
    return info;
}

bool NicePicInfo::operator==(const NicePicInfo &o) const
{
    return version == o.version && mineral_name == o.mineral_name && author == o.author
           && collection == o.collection && pic_owner == o.pic_owner
           && pic_copyright == o.pic_copyright && locality == o.locality && remark == o.remark
           && filename == o.filename && mineral_pic_number == o.mineral_pic_number;
}
