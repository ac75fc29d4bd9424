// Control ids of the sample dialog that the UI driver's own tests drive.
#pragma once

#define SAMPLE_DIALOG 1
#define IDC_TITLE 100  // static with SS_NOTIFY: double-clicks are counted in IDC_CLICKS
#define IDC_CLICKS 101
#define IDC_PLAIN 102    // static without SS_NOTIFY
#define IDC_RADIO_A 110  // radio group: A, B, and a hidden third
#define IDC_RADIO_B 111
#define IDC_RADIO_HIDDEN 112
#define IDC_RADIO_SHOWN 113  // "radio: <id>" of the last radio the dialog heard about
#define IDC_CHECK 120
#define IDC_COMBO 130        // "Chinese", "English", "Japanese"; English selected
#define IDC_COMBO_SHOWN 131  // "selected: <entry>" after a selection change
#define IDC_DROPDOWNS 132    // "drop-downs: <n>"
#define IDC_ASK 140          // Yes/No question box; the answer lands in IDC_ANSWER
#define IDC_ANSWER 141
#define IDC_TELL 150  // two OK boxes in a row; then IDC_TOLD reads "told"
#define IDC_TOLD 151
#define IDC_DISABLED 160
#define IDC_SYSTEM 170  // "<major>.<minor>.<build> arch=<n> ui=<langid hex>"
#define IDC_EDIT 180
