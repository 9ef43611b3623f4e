#!/usr/bin/python3
"""The installer's file server, for the tests and the demo: an FTP server on 127.0.0.1.

    ftp_server.py --root DIR --user NAME --password WORD [--port N] [--rate BYTES] [--quiet]

Serves DIR as "/" to one user, read-only, in passive mode (ports chosen by the system).
--rate holds downloads to that many bytes a second, so that the demo shows its progress.
Prints "PORT <n>" on stdout once it listens (N = 0, the default, picks a free port) and
serves until SIGTERM or Ctrl-C. Built on Debian's python3-pyftpdlib, which lives in the
system's Python: run it with /usr/bin/python3.
"""
import argparse
import logging
import os
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main(argv=None):
    parser = argparse.ArgumentParser(description="FTP server of the installer, on 127.0.0.1.")
    parser.add_argument("--root", required=True, help="folder served as /")
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: a free one)")
    parser.add_argument("--rate", type=int, default=0, help="bytes a second a download gets")
    parser.add_argument("--quiet", action="store_true", help="no session log on stderr")
    args = parser.parse_args(argv)

    logging.basicConfig(level=logging.WARNING if args.quiet else logging.INFO,
                        format="ftp: %(message)s", stream=sys.stderr)

    autorizador = DummyAuthorizer()
    # e: change folder, l: list, r: retrieve. Nothing can be written.
    autorizador.add_user(args.user, args.password, os.path.abspath(args.root), perm="elr")

    class Atendente(FTPHandler):
        authorizer = autorizador
        banner = "Ondavia test file server"
        permit_foreign_addresses = False
        auth_failed_timeout = 0  # a refused login answers at once

    if args.rate > 0:
        class Lento(ThrottledDTPHandler):
            write_limit = args.rate
        Atendente.dtp_handler = Lento

    servidor = FTPServer(("127.0.0.1", args.port), Atendente)
    servidor.max_cons = 16

    def parar(_sinal, _quadro):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, parar)
    print(f"PORT {servidor.address[1]}", flush=True)
    try:
        servidor.serve_forever(handle_exit=False)
    except (KeyboardInterrupt, SystemExit):
        pass
    finally:
        servidor.close_all()
    return 0


if __name__ == "__main__":
    sys.exit(main())
