#pragma once

class CVeskCPSApp;
class CVeskCPSDoc;
class QWidget;

// The Report command for a profile whose page has handed over its edits: the choice of report,
// its generation and file, then the report window with the report's page margins. Every failure
// has shown its message when this returns.
void RunReportCommand(CVeskCPSApp& app, CVeskCPSDoc& document, QWidget* parent);
