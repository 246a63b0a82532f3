#pragma once

// A mailbox that looks lived in, built around a given day, for the command-line host and for
// tests that want realistic data rather than one hand-made item.

#include <string>

#include "platform/automation_date.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

// The week (Monday to Sunday) that holds `today` is full of appointments, with a few more
// inside the plug-in's default range (a month back, six months ahead) and two outside it.
// Among them: private items, one whose Private read raises so that only the commander tells,
// a group appointment someone else sent (not Personal), an invitation not yet accepted, the
// user's sent copy in the OUTGOING box, subjects and places in Latin with accents, Greek,
// Cyrillic and CJK scripts and with characters outside the BMP, multi-line bodies, a body
// that is a bare line break and a place that is one blank. Also tasks (one assigned by
// another user, one completed, one due after the default range and one assigned after it),
// notes (on several days, one from another user), and the address book "Didodudo Z380": thirty
// users written in those scripts and in Arabic and Hebrew, with every standard field used somewhere
// and multi-line comments; most carry a "PMTPIUID" GUID, some none, one an empty one; one
// group and one resource. And mail (sample_mail.h): an inbox of mail and phone messages in
// those scripts, read and unread, with recipients and attachments of every kind, some of them
// forwarded messages and other attached items, a few folders, and none of the e-mail
// plug-in's own. Built in a fixed order, so the same day gives the same ids.
Mailbox BuildSampleMailbox(platform::AutomationDate today);

// BuildSampleMailbox as a store file. Raises StoreError.
void WriteSampleStore(const std::string& path, platform::AutomationDate today);

}  // namespace sim
