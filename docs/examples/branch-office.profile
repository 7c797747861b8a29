# A branch office: statements on fan-fold paper through the USB port, in Roman with plain
# zeros, skipping an inch over each perforation. Settings not named here keep their defaults.
Model: Domestic
Interface: USB
Font: Roman
Skip Over Perforation: 1 Inch
Slashed Zero: Normal
