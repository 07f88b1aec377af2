// Anchors the test-support library; the doubles themselves are header-only.
#include "fake_serial_port.h"
#include "recording_message_boxes.h"
#include "recording_message_line.h"
#include "scripted_file_dialogs.h"
