#!/bin/sh
# Stands in for the web browser in the notice tests' Wine prefix. Wine's browser
# launcher runs it with the address to open; it appends its arguments, as one
# line, to opened-addresses.log in its working directory. That is the working
# directory of the program that asked (Wine hands it down, unlike the Windows
# environment), so a test that runs the launcher in a directory of its own sees
# exactly the addresses that this launcher opened, and how often.
printf '%s\n' "$*" >>opened-addresses.log
