#include "platform/qt/QtSystem.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

#include "platform/desktop/PrivateFolder.h"
#include "platform/qt/QtStrings.h"

namespace tomefuse {

uint64_t modifierFlagsFromQt(Qt::KeyboardModifiers modifiers) {
    uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= NSEventModifierFlagShift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= NSEventModifierFlagControl;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= NSEventModifierFlagOption;
    }
    if (modifiers & Qt::MetaModifier) {
        flags |= NSEventModifierFlagCommand;
    }
    return flags;
}

uint64_t QtSystem::currentEventModifierFlags() const {
    return modifierFlagsFromQt(QGuiApplication::keyboardModifiers());
}

void QtSystem::beep() { QApplication::beep(); }

void QtSystem::log(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

std::string QtSystem::temporaryDirectory() const {
    QString path = QDir::cleanPath(QDir::tempPath());
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    return userTemporaryDirectory(toStdPath(path));
}

}  // namespace tomefuse
