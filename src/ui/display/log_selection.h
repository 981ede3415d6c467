#pragma once

#include <QtGlobal>

namespace tq {

// The stored log chosen on the Data page: its LogType and its Log_head SeqNo; 0 and 0 when
// none is. The window owns one and hands it to the pages that set or read it.
struct LogSelection {
    qint32 SelectedLogType = 0;
    qint64 SelectedSeqNo = 0;
};

} // namespace tq
