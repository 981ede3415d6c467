#pragma once

namespace tq {

class ExportSink;
struct ExportRequest;

// The export texts of the interval and bar-hole trends (log types 1 and 9), the alarm
// trend (2) and the snapshot (11).
void WriteIntervalText(const ExportRequest &request, ExportSink &sink);
void WriteAlarmText(const ExportRequest &request, ExportSink &sink);
void WriteSnapshotText(const ExportRequest &request, ExportSink &sink);

} // namespace tq
