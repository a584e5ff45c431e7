# Readers and writers of exchange formats, judged by independent readers where one exists.
