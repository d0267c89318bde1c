# What the application answers over AT-SPI for the line at the caret of each
# text box of orca-last-character: the old GetTextAtOffset, and the
# GetStringAtOffset that Orca 43 asks first.
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi


def walk(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        if child.get_role() == Atspi.Role.TEXT:
            caret = Atspi.Text.get_caret_offset(child)
            count = Atspi.Text.get_character_count(child)
            print(f"{child.get_name()}: {count} characters, caret {caret}")
            old = Atspi.Text.get_text_at_offset(child, caret, Atspi.TextBoundaryType.LINE_START)
            print(f"  GetTextAtOffset(line):   {old.content!r} {old.start_offset}-{old.end_offset}")
            try:
                new = Atspi.Text.get_string_at_offset(child, caret, Atspi.TextGranularity.LINE)
                print(f"  GetStringAtOffset(line): {new.content!r} {new.start_offset}-{new.end_offset}")
            except Exception as error:  # noqa: BLE001 - the error is the finding
                print(f"  GetStringAtOffset(line): error: {error}")
        walk(child)


desktop = Atspi.get_desktop(0)
for i in range(desktop.get_child_count()):
    app = desktop.get_child_at_index(i)
    if app is not None and "orca-last-character" in (app.get_name() or ""):
        walk(app)
