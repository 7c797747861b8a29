# Billing counters: the Export model (11 inch page), a serial line at 19200 baud with
# Xon/Xoff, the Courier typeface at 8 lines per inch, and tear-off by hand.
# Settings not named here keep their defaults.
Model: Export
Font: Courier
Interface: Serial
Baud Rate: 19200
Parity: None
Flow Control: Xon/Xoff
Line Spacing: 8 LPI
Tearoff: True Manual
