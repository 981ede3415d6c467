#pragma once

namespace tq {

class ExportSink;
struct ExportRequest;

// The export texts of the dated record lists: the calibration history (log type 3) and the
// bump test (10) from the loaded history, the alarm, trouble and power events (5, 6, 7)
// and the sensor history (12) from the database, newest first.
void WriteHistoryText(const ExportRequest &request, ExportSink &sink);
void WriteEventText(const ExportRequest &request, ExportSink &sink);

} // namespace tq
