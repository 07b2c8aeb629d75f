#pragma once
// Where the link's reports go in the program: trace lines to the log and the Monitor Window,
// its failures to error boxes.

void installLinkReports();
