"""The game's screens: backgrounds, heads-up display, selection screen, progress map and the
quest's scenes."""


def write_all(out):
    pass
