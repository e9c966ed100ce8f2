Terminal=t
|x-terminal-emulator|
Files=f
|xdg-open|.
Editor=e
|editor|
