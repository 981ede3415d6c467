#include "link/serial_log.h"

#include "core/messages.h"
#include "core/program_state.h"
#include "link/dump_list.h"

#include <QFile>
#include <QTime>

namespace tq {

QString SerialLogPath() {
    QString folder = Globals().AppFolder;
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    return folder + QStringLiteral("SerialLog.log");
}

bool SetSerialLog(const QString &text) {
    QFile file(SerialLogPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (QTime::currentTime().toString(QStringLiteral("hh:mm:ss")) + ' ' +
                             text + QStringLiteral("\r\n"))
                                .toUtf8();
    return file.write(line) == line.size() && file.flush();
}

QString DatedLogLine(int id, const Date &now) {
    return LoadMessage(id, {now.generalDate()});
}

QString TimedLogLine(int id, const Date &start, const Date &now) {
    return LoadMessage(id, {now.generalDate(), ElapsedText(start, now)});
}

} // namespace tq
