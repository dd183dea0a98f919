#pragma once

#include "pictures/nicepicinfo.h"

#include <QString>

// The store of mineral pictures: <root>/NicePicJpg/<mineral>_<n>.jpg with the description
// <root>/NicePicJson/<mineral>_<n>.json, numbered from 0 per mineral without gaps. Nothing is
// cached; every call looks at the disk.
class NicePicInfos
{
public:
    // The store below the configured picture folder.
    NicePicInfos();
    explicit NicePicInfos(const QString &root);

    QString root() const { return m_root; }
    QString pictureFolder() const;
    QString recordFolder() const;
    QString picturePath(const QString &mineral, int number) const;
    QString recordPath(const QString &mineral, int number) const;
    // Where a picture chosen for adding is copied first.
    QString workingCopyPath() const;

    // The number in a name like Quartz_12.jpg; -1 when it has none.
    static int pictureNumber(const QString &fileName);
    // The highest number among the files of `folder` whose names contain `mineral`; -1 for none.
    static int highestNumber(const QString &folder, const QString &mineral);
    // Pictures that have both a file and a description.
    int pictureCount(const QString &mineral) const;

    // A missing or unreadable file gives an empty record.
    NicePicInfo loadFromFolder(const QString &mineral, int number) const;
    static bool writeInfo(const QString &path, const NicePicInfo &record);
    // Removes picture `index` and its description and moves the later ones down by one.
    bool removePicture(const QString &mineral, int index) const;

private:
    QString m_root;
};
