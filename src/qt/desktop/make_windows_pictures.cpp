// SPDX-License-Identifier: MIT
// Writes the Windows program's pictures as .ico files, drawn by the same code
// that draws the Linux window's: make_windows_pictures FOLDER. Each icon holds
// the picture at its size and at twice its size (32-bit colour with alpha).
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "gui/icons.h"

namespace {

void put16(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

// One icon image: a bottom-up 32-bit bitmap of twice the height (colour, then
// the 1-bit mask, all clear since the alpha channel says what shows).
std::string iconImage(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    std::string out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height * 2));
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i) {
        put32(out, 0);
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            put32(out, row[x]);  // ARGB in memory order B, G, R, A
        }
    }
    const int maskRow = ((width + 31) / 32) * 4;
    out.append(static_cast<std::size_t>(maskRow * height), '\0');
    return out;
}

bool writeIcon(const std::vector<QImage>& images, const std::string& path) {
    std::string file;
    put16(file, 0);
    put16(file, 1);
    put16(file, static_cast<int>(images.size()));
    std::vector<std::string> bodies;
    for (const QImage& image : images) {
        bodies.push_back(iconImage(image));
    }
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<char>(images[i].width() >= 256 ? 0 : images[i].width()));
        file.push_back(static_cast<char>(images[i].height() >= 256 ? 0 : images[i].height()));
        file.push_back(0);
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, static_cast<std::uint32_t>(bodies[i].size()));
        put32(file, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies) {
        file += body;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

std::vector<QImage> atOneAndTwo(const QIcon& icon, QSize size) {
    return {icon.pixmap(size).toImage().scaled(size),
            icon.pixmap(size * 2).toImage().scaled(size * 2)};
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_windows_pictures FOLDER\n", stderr);
        return 2;
    }
    namespace icons = tessark::icons;
    const std::string folder = argv[1];
    const QSize small(16, 16);
    const QSize caption(24, 23);
    const std::vector<std::pair<const char*, std::vector<QImage>>> pictures = {
        {"open_folder.ico", atOneAndTwo(icons::openFolder(), small)},
        {"blank_page.ico", atOneAndTwo(icons::blankPage(), small)},
        {"black_cross.ico", atOneAndTwo(icons::blackCross(), small)},
        {"red_cross_list.ico", atOneAndTwo(icons::redCrossList(), small)},
        {"arrow_up.ico", atOneAndTwo(icons::arrowUp(), small)},
        {"arrow_down.ico", atOneAndTwo(icons::arrowDown(), small)},
        {"split.ico", atOneAndTwo(icons::splitPicture(), caption)},
        {"merge.ico", atOneAndTwo(icons::mergePicture(), caption)},
        {"program.ico",
         {icons::programImage(16), icons::programImage(32), icons::programImage(48),
          icons::programImage(64)}},
    };
    for (const auto& [name, images] : pictures) {
        if (!writeIcon(images, folder + "/" + name)) {
            std::fprintf(stderr, "make_windows_pictures: cannot write %s\n", name);
            return 1;
        }
    }
    return 0;
}
