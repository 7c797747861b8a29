# A branch office printing in Tamil: the Indian Language character table with the PC-ISCII
# standard and space compensation, on the parallel port.
Interface: Parallel
Character Table: Indian Language
Language: Tamil
Language Standard: PC-ISCII
Space Compensation: Enabled
