// The parameter record's life around the filter's messages: created with its
// defaults on the first Get Parameters, edited by the options dialog (and
// restored on cancel), and drawn on Go.
#pragma once

#include "params/view_defaults.h"
#include "shell/host/host_interface.h"

// Handler of "AI Filter"/"AI Get Parameters". Returns 0 (accepted, or not
// this plug-in's filter), 'STOP' (cancelled), '!MEM' or a host code.
HostErr onFilterParameters(FilterMessage* message);
// Creates the record when the message has none yet and runs the options
// dialog over it; on cancel the preview is undone and the record restored.
HostErr runSpiralDialog(FilterMessage* message);

// Handler of "AI Filter"/"AI Go". Returns 0 or the drawing run's code.
HostErr onFilterGo(FilterMessage* message);
// Marks the run as the filter's Go and draws the record.
HostErr drawFromGo(FilterMessage* message);
