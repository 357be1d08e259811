// Problems that have no window to show them in (a file that is not used, a
// device that failed): one line on stderr, which a user can paste into a
// report.
#pragma once

#include <string>

// Writes "<program name>: <text>" and a line end to stderr, at once.
void ReportProblem(const std::string& text);
// The program name of those lines: the program's entry sets it to the name
// it was started by ("zuk_rer1" until then).
void SetReportingName(std::string name);
