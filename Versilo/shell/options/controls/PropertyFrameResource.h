// Resource and control identifiers of the property frame, shared by its dialog template and
// accelerators (OptionsDialogs.rc) and the code: the frame's tab control, the placeholder
// whose rectangle receives the pages, the accelerator table and its two commands.
#pragma once

// The program's one frame template: the options sheet ("Innstillinger"), with the tab control
// and the page placeholder.
#define IDD_VIEW_OPTIONS 142
#define IDA_PROPERTY_FRAME 144
#define IDC_FRAME_TABS 1021
#define IDC_FRAME_PAGE_AREA 1022
#define ID_NEXT_PAGE 32790
#define ID_PREVIOUS_PAGE 32791
