#pragma once

// A picture store in a temporary folder, configured before anything asks the path manager.

#include "core/pathmanager.h"
#include "pictures/nicepicinfos.h"
#include "testfiles.h"

#include <QColor>
#include <QImage>

class TestPictureStore
{
public:
    TestPictureStore() { configure(); }

    // Points the settings at this store again, after they were cleared.
    void configure() const
    {
        QSettings().setValue(S("Paths/NicePicPath"), QString(m_dir.path() + QLatin1Char('/')));
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    void clear() const
    {
        for (const char *folder : {"NicePicJpg", "NicePicJson"}) {
            QDir(path(QLatin1String(folder))).removeRecursively();
            QDir().mkpath(path(QLatin1String(folder)));
        }
    }

    // A picture of one colour; its copyright names `number`.
    void add(const QString &mineral, int number, const QColor &color) const
    {
        const NicePicInfos pictures;
        writeJpeg(pictures.picturePath(mineral, number), color);
        NicePicInfo info;
        info.mineral_name = mineral;
        info.mineral_pic_number = number;
        info.pic_copyright = S("owner %1").arg(number);
        NicePicInfos::writeInfo(pictures.recordPath(mineral, number), info);
    }

    static bool writeJpeg(const QString &file, const QColor &color)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(color);
        return image.save(file, "JPG", 95);
    }

    // JPEG keeps a plain colour close to what was written.
    static bool sameColor(const QImage &image, const QColor &color)
    {
        const QColor seen = image.pixelColor(image.width() / 2, image.height() / 2);
        return qAbs(seen.red() - color.red()) + qAbs(seen.green() - color.green())
                   + qAbs(seen.blue() - color.blue())
               < 24;
    }

private:
    QTemporaryDir m_dir;
};
