#!/usr/bin/env python3
"""Regenerates the sample profiles next to this file.

The profiles are written by hand-readable rules rather than kept only as
data so that a schema change can be carried into every sample at once.
Run from anywhere: python3 tests/data/profiles/make_full.py
"""
import os

NS = "urn:corvane:vesk-kel:profile:1"
HERE = os.path.dirname(os.path.abspath(__file__))


def attrs(pairs):
    return " ".join('%s="%s"' % (k, v) for k, v in pairs)


def factory(model, serial, base, fw=("R", 1, 7), cp=("R", 3, 0)):
    return [("serial_clone_compatibility", 2), ("firmware_phase", fw[0]),
            ("firmware_version", fw[1]), ("firmware_revision", fw[2]),
            ("codeplug_phase", cp[0]), ("codeplug_version", cp[1]),
            ("codeplug_dev_version", cp[2]), ("model", model),
            ("serial", serial), ("synth_base_int_part", base),
            ("sub_region", 0)]


def limit(nch, nfreq, start, end, max_codes, band_edges=False, display=True):
    a = [("maxChannels", nch), ("max_valid_freqs", nfreq),
         ("start_freq", start), ("end_freq", end)]
    for n in ("disable_time_out_timer", "disable_keypad_beep_feature",
              "disable_roger_beep_feature", "disable_busy_led_mode"):
        a.append((n, 0))
    a += [("enable_reverse_burst", 1)]
    for n in ("disable_vox_feature", "disable_ivox_feature",
              "disable_scramble_feature", "disable_battery_save_feature",
              "factory_reset_disable", "disable_scan_mode"):
        a.append((n, 0))
    a += [("max_call_tones", 5), ("maxPresetButtons", 2 if display else 0),
          ("maxCodes", max_codes), ("power_cntrl_enabled", 1),
          ("backlight_button_enabled", 1 if display else 0),
          ("programming_mode_enabled", 0), ("call_feature_disable", 0),
          ("monitor_feature_disable", 0), ("disable_keypad_lock_feature", 0),
          ("disable_repeater_feature", 0), ("disable_channel_enable", 1),
          ("talkaround_scan_enable", 1), ("voice_chip_enable", 1)]
    if band_edges:
        a += [("rx_start_freq", start), ("rx_end_freq", end),
              ("tx_start_freq", start), ("tx_end_freq", end)]
    return a


def setting(nch, max_codes, power_up="", repeater_extras=False):
    a = [("password", ""), ("disableLED", 0),
         ("disableRestoreFactoryDefault", 0), ("backlight_enabled", 1),
         ("timeoutTimer", 60), ("reverseBurst", 0), ("vox_level", 1),
         ("ivol_level", 1), ("microphoneGain", 2),
         ("accessoryMicrophoneGain", 8), ("batteryType", 1),
         ("disableBatterySave", 0), ("side1_but", 3), ("side2_but", 4),
         ("upper_right_but", 9), ("lower_left_but", 10),
         ("lower_right_but", 6), ("numberChannels", nch),
         ("voice_language", 0)]
    if max_codes > 122:
        a += [("KTcode%d" % n, t) for n, t in
              zip(range(124, 130), (670, 719, 1000, 1318, 2035, 2550))]
    if max_codes > 213:
        a += [("KTcode%d" % n, c) for n, c in
              zip(range(214, 220), (0o023, 0o025, 0o131, 0o243, 0o526, 0o754))]
    a += [("powerupString", power_up), ("rogerBeepTone", 0),
          ("disableSelectableScramble", 0), ("backlight_timeout", 5),
          ("callTone", 1), ("keypadLock", 0), ("keypadBeep", 1)]
    if repeater_extras:
        a += [("stationID", "WQXY123"), ("rep_id_mode", 1),
              ("rep_hangtime", 5), ("low_battery_tx", 30),
              ("onbatt_alert", 2), ("courtesy_over", 1)]
    return a


def channel(n, nfreq, bw=0):
    f = n % nfreq
    return [("rx_freq_ndx", f), ("rx_code", (n * 7) % 39), ("tx_freq_ndx", f),
            ("tx_code", (n * 7) % 39), ("rx_bw", bw), ("tx_bw", bw),
            ("talkaround_power", 1), ("repeater_power", 1), ("repeater", 0),
            ("autoScan", 0), ("scramble_code", 0), ("name", "CH %02d" % (n + 1)),
            ("disable_channel", 0), ("talkaround_scan", 0),
            ("in_scanlist", 1 if n % 2 == 0 else 0)]


def frequency(hz, bw=0):
    return [("freq", hz), ("bandwidth", bw), ("power_level", 3),
            ("compander_lle_mode", 2)]


def profile(fac, lim, sett, chans, freqs, presets=(0, 1), ns=NS,
            order=("channels", "frequencies")):
    out = ['<VeskProfile xmlns="%s">' % ns,
           "\t<factory_setting %s/>" % attrs(fac),
           "\t<limit %s/>" % attrs(lim),
           "\t<setting %s>" % attrs(sett)]
    out += ['\t\t<preset channel="%d"/>' % p for p in presets]
    out.append("\t</setting>")
    parts = {
        "channels": ["\t<channels>"] + ["\t\t<channel %s/>" % attrs(c) for c in chans] + ["\t</channels>"],
        "frequencies": ["\t<frequencies>"] + ["\t\t<frequency %s/>" % attrs(f) for f in freqs] + ["\t</frequencies>"],
    }
    for p in order:
        out += parts[p]
    out.append("</VeskProfile>")
    return "\n".join(out) + "\n"


def write(rel, text, comment=None):
    path = os.path.join(HERE, rel)
    head = ('<!-- %s -->\n' % comment) if comment else '<?xml version="1.0" encoding="utf-8"?>\n'
    with open(path, "w", newline="\n") as f:
        f.write(head + text)


def minimal(**kw):
    """One channel on one frequency; every optional attribute left out."""
    nch = kw.pop("nch", 1)
    nfreq = kw.pop("nfreq", 1)
    chans = kw.pop("chans", [channel(n, nfreq) for n in range(nch)])
    freqs = kw.pop("freqs", [frequency(464500000 + n * 12500) for n in range(nfreq)])
    return profile(factory("CUR40200", "471KFT2P9X", 400),
                   limit(min(nch, 19), min(nfreq, 99), 450000000, 470000000, 122,
                         display=False),
                   setting(min(nch, 19), 122), chans, freqs, presets=(0, 0), **kw)


UHF_MHZ = ("464.5000", "464.5500", "467.7625", "467.8125", "461.0375",
           "461.0625", "461.0875", "461.1125", "462.7625", "462.7875",
           "462.8125", "462.8375", "464.9125", "469.5000", "451.8000",
           "456.8000")


def mhz_to_hz(text):
    whole, frac = text.split(".")
    return int(whole) * 1000000 + int((frac + "000000")[:6])


def main():
    # Every optional attribute, the largest tables the image can hold.
    full = profile(factory("CVD51905", "582ABC7DEF", 100),
                   limit(19, 99, 136000000, 174000000, 219, band_edges=True),
                   setting(19, 219, "WELCOME", repeater_extras=True),
                   [channel(n, 99, bw=n % 2) for n in range(19)],
                   [frequency(150000000 + n * 12500, bw=n % 4) for n in range(99)],
                   presets=(0, 18))
    write("good/full.xml", full)
    write("good/minimal.xml", minimal())

    # A 16-channel UHF display handheld under a narrowband mandate (region 00).
    freqs = [frequency(mhz_to_hz(m)) for m in UHF_MHZ]
    uhf = profile(factory("CUD41600", "305MKT9R4H", 400),
                  limit(16, 16, 450000000, 470000000, 213),
                  setting(16, 213, "HELLO"),
                  [channel(n, 16) for n in range(16)], freqs, presets=(0, 5))
    write("good/handheld_uhf.xml", uhf)

    m = minimal()
    bad = {
        "missing_required_attribute.xml":
            ("channel lacks the required attribute rx_code",
             m.replace(' rx_code="0"', "", 1)),
        "value_out_of_range.xml":
            ("frequency bandwidth 4 is above the two-bit range 0..3",
             m.replace('bandwidth="0"', 'bandwidth="4"', 1)),
        "non_numeric_number.xml":
            ("frequency freq is written in MHz with a unit instead of whole hertz",
             m.replace('freq="464500000"', 'freq="464.5MHz"', 1)),
        "flag_two.xml":
            ("channel flag rx_bw holds 2; flags are 0 or 1",
             m.replace('rx_bw="0"', 'rx_bw="2"', 1)),
        "flag_true.xml":
            ("channel flag autoScan holds true; profiles store flags as 1/0 only",
             m.replace('autoScan="0"', 'autoScan="true"', 1)),
        "too_many_channels.xml":
            ("20 channel elements; the image holds at most 19",
             minimal(nch=20)),
        "too_many_frequencies.xml":
            ("100 frequency elements; the image holds at most 99",
             minimal(nfreq=100)),
        "unknown_element.xml":
            ("unknown element notes after frequencies",
             m.replace("</VeskProfile>", "\t<notes/>\n</VeskProfile>", 1)),
        "unknown_attribute.xml":
            ("unknown attribute colour on channel",
             m.replace(' in_scanlist="1"', ' in_scanlist="1" colour="red"', 1)),
        "wrong_namespace.xml":
            ("root element in a namespace other than the profile namespace",
             minimal(ns="urn:corvane:vesk-kel:profile:2")),
        "wrong_element_order.xml":
            ("frequencies comes before channels",
             minimal(order=("frequencies", "channels"))),
        "name_too_long.xml":
            ("channel name of 9 characters; at most 8 are allowed",
             m.replace('name="CH 01"', 'name="CHANNEL01"', 1)),
        "bad_serial.xml":
            ("serial has the letter O in position 4",
             m.replace('serial="471KFT2P9X"', 'serial="471OFT2P9X"', 1)),
        "one_preset.xml":
            ("setting has one preset child instead of two",
             m.replace('\t\t<preset channel="0"/>\n', "", 1)),
    }
    for name, (why, text) in bad.items():
        assert text != m or name in ("wrong_namespace.xml",), name
        write(os.path.join("bad", name), text, comment=why)


if __name__ == "__main__":
    main()
