#pragma once

// A profile document's side of the radio: the profile a codeplug image read from a radio becomes,
// and the image a write sends, made from the open profile. It sits with the image conversions so
// that the profile model knows nothing of images.

class CProfileDocument;
class CRadioInfo;
class CVirtualCP;

// A new profile from a codeplug image read from a radio: its canonical text, then as
// CProfileDocument::NewFromImageText. False when the image does not convert (its message has been
// shown) or the profile does not load. Duplicate channel names are repaired in `image` itself.
bool NewFromImage(CProfileDocument& document, CVirtualCP& image);

// Fills `image` from the open profile for a write to the radio described by `radio`. A model
// without repeater feature transmits as it receives, and that is made true of the open profile
// itself first. Conversion failures are raised, with this step added to their text.
void GetVirtualCPData(CProfileDocument& document, CVirtualCP& image, const CRadioInfo& radio);

// Replaces the open profile by the one `image` holds (unnamed channels get names). False when the
// image does not convert (after its message) or when the load says so; exceptions are raised with
// this step added to their text.
bool SetVirtualCPData(CProfileDocument& document, CVirtualCP& image);
