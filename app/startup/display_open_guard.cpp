#include "app/startup/display_open_guard.h"

#include <fcntl.h>
#include <unistd.h>
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tetrakon {
namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage>* heldMessages = nullptr;
// Standard error while its descriptor points at /dev/null.
int savedStandardError = -1;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Qt's own reason follows our line: the warnings it gave on the way (no such
        // platform plugin, no connection to the display), else the first line of its fatal
        // message, without its advice on reinstalling.
        std::string said = kNoDisplayText;
        for (const HeldMessage& held : *heldMessages) {
            said += "tetrakon: Qt: " + held.text.toStdString() + "\n";
        }
        if (heldMessages->empty()) {
            said += "tetrakon: Qt: " + text.section(QLatin1Char('\n'), 0, 0).toStdString() + "\n";
        }
        const int out = savedStandardError >= 0 ? savedStandardError : STDERR_FILENO;
        [[maybe_unused]] const ssize_t written = write(out, said.data(), said.size());
        std::_Exit(1);
    }
    heldMessages->push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

DisplayOpenGuard::DisplayOpenGuard() {
    heldMessages = new std::vector<HeldMessage>;
    previousHandler = qInstallMessageHandler(HoldMessage);
    std::fflush(stderr);
    savedStandardError = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (savedStandardError >= 0 && null >= 0) {
        dup2(null, STDERR_FILENO);
    }
    if (null >= 0) {
        close(null);
    }
}

void DisplayOpenGuard::Opened() {
    if (heldMessages == nullptr) {
        return;
    }
    if (savedStandardError >= 0) {
        std::fflush(stderr);
        dup2(savedStandardError, STDERR_FILENO);
        close(savedStandardError);
        savedStandardError = -1;
    }
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& held : *heldMessages) {
        const auto text = [](const QByteArray& bytes) {
            return bytes.isNull() ? nullptr : bytes.constData();
        };
        const QMessageLogContext context(text(held.file), held.line, text(held.function),
                                         text(held.category));
        previousHandler(held.type, context, held.text);
    }
    delete heldMessages;
    heldMessages = nullptr;
}

}  // namespace tetrakon
