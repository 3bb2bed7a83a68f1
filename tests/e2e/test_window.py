"""The main window under Wine: its size and its closing."""

from harness import check


def test_client_area_and_exit_code(session, exe):
    """The window shows a 390 by 280 client area, its boxes answer to
    Return, and a close request once the round is on ends the program
    with exit code 0."""
    game = session.launch(exe)
    main = game.main_window()
    _, _, width, height = session.geometry(main)
    check((width, height) == (390, 280),
          f"client area is {width}x{height}, not 390x280")

    # The main window is disabled while a box is up, so the close request
    # waits until both detection boxes are answered.
    found = game.wait_box()
    game.answer_box(found)
    instructions = game.wait_box(exclude=[found])
    game.answer_box(instructions)

    session.request_close(main)
    code = game.wait_exit()
    check(code == 0, f"exit code {code}, not 0")
