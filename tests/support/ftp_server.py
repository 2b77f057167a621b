# An FTP server (pyftpdlib) on 127.0.0.1 for the upload tests, well behaved or
# with one fault. It binds port 0, writes the port it got into the file named
# by its last argument once it listens, then serves.
#
#   ftp_server.py ROOT USER PASSWORD MODE PORT_FILE
#
# MODE is a name, optionally "=" and numbers separated by ",":
#   keep                     a well-behaved server
#   drop                     hangs up on the client once the first bytes of an upload arrived
#   cut                      keeps the first 1000 bytes of an upload, closes the data connection, answers 226
#   stall                    lets the user in, then never answers an upload's STOR
#   slow=RATE                takes an upload's bytes at RATE bytes a second (100 KB by default),
#                            answering only once it has them all
#   stop-reading=BYTES       stops reading an upload after BYTES (100 KB by default) and never answers
#   no-final-answer          takes every byte of an upload, keeps the file and never answers
#   endless-cwd=SECONDS,N    answers CWD with a multi-line reply, one more line every SECONDS
#                            (5 by default), ending it after N lines (0, the default: never)
#   start-in-pwd=SECONDS     puts a "150" line inside its PWD reply, which it never ends, then
#                            holds every later command for SECONDS (0, the default: for ever)
#
# Every STOR the server is asked for is noted, one line each, in ROOT.stors.
import logging
import math
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

root, user, password, mode, port_file = sys.argv[1:6]
mode_name, _, numbers = mode.partition('=')
knobs = [float(n) for n in numbers.split(',') if n]


def knob(index, default):
    return knobs[index] if len(knobs) > index else default


config_logging(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elradfmwMT')


# The handler's own read is bound to the read event too, so the handlers that
# change reading bind both.
class Dropping(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        self.cmd_channel.close()
    handle_read_event = handle_read


class Cutting(DTPHandler):
    ac_in_buffer_size = 1000

    def handle_read(self):
        DTPHandler.handle_read(self)
        self.handle_close()
    handle_read_event = handle_read


class Slow(ThrottledDTPHandler):
    read_limit = int(knob(0, 100 * 1024))


class StopsReading(DTPHandler):
    # Small reads, so it stops close to its mark.
    ac_in_buffer_size = 4096
    limit = int(knob(0, 100 * 1024))

    def handle_read(self):
        if self.tot_bytes_received >= self.limit:
            # Out of the loop: what the client sends from now on stays in the
            # connection, and its end is never noticed.
            self.del_channel()
            return
        DTPHandler.handle_read(self)
    handle_read_event = handle_read


class Unanswering(DTPHandler):
    def close(self):
        self._resp = ()  # the file is kept whole, the 226 never sent
        DTPHandler.close(self)


class Handler(FTPHandler):
    def ftp_STOR(self, file, mode='w'):
        with open(root.rstrip('/') + '.stors', 'a') as noted:
            noted.write(file + '\n')
        if mode_name == 'stall':
            return None
        return FTPHandler.ftp_STOR(self, file, mode)

    def ftp_CWD(self, path):
        if mode_name != 'endless-cwd':
            return FTPHandler.ftp_CWD(self, path)
        interval, lines = knob(0, 5), int(knob(1, 0))
        self.push('250-Changing to the folder, please wait.\r\n')

        def more(sent):
            if self._closed:
                return
            if lines and sent >= lines:
                FTPHandler.ftp_CWD(self, path)
                return
            self.push(' still changing (%d)\r\n' % sent)
            self.ioloop.call_later(interval, more, sent + 1)
        self.ioloop.call_later(interval, more, 1)

    quiet_until = None  # commands that come before are held till then

    def ftp_PWD(self, line):
        if mode_name != 'start-in-pwd':
            return FTPHandler.ftp_PWD(self, line)
        self.push('257-"/" is the current folder.\r\n150 Opening the data connection.\r\n')
        silence = knob(0, 0)
        self.quiet_until = time.monotonic() + silence if silence else math.inf

    def pre_process_command(self, line, cmd, arg):
        left = self.quiet_until - time.monotonic() if self.quiet_until else 0
        if left == math.inf:
            return
        if left > 0:
            self.ioloop.call_later(left, self.pre_process_command, line, cmd, arg)
            return
        FTPHandler.pre_process_command(self, line, cmd, arg)


Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
Handler.dtp_handler = {
    'drop': Dropping,
    'cut': Cutting,
    'slow': Slow,
    'stop-reading': StopsReading,
    'no-final-answer': Unanswering,
}.get(mode_name, DTPHandler)
server = FTPServer(('127.0.0.1', 0), Handler)
open(port_file + '.tmp', 'w').write(str(server.socket.getsockname()[1]))
os.replace(port_file + '.tmp', port_file)
server.serve_forever()
