#!/usr/bin/env bash
# Starts or stops the test servers of one fixture folder:
#   server_fixture.sh start <folder>   nginx and the fault server, both on free
#                                      127.0.0.1 ports, serving <folder>/root
#   server_fixture.sh stop <folder>    stops exactly the processes started above
# Ports are written to <folder>/nginx.port and <folder>/fault.port.
set -euo pipefail
action="$1"
dir="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

stop_pid() {
  local file="$1"
  [ -f "$file" ] || return 0
  local pid
  pid="$(cat "$file")"
  rm -f "$file"
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
}

wait_for_port() {
  local port="$1"
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "server on port $port did not come up" >&2
  return 1
}

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'
}

if [ "$action" = stop ]; then
  stop_pid "$dir/nginx.pid.own"
  stop_pid "$dir/fault.pid"
  exit 0
fi

# A folder left by an earlier, interrupted run: stop what it may still run first.
if [ -d "$dir" ]; then "$0" stop "$dir"; fi
rm -rf "$dir"
mkdir -p "$dir/root" "$dir/nginx-temp" "$dir/logs"

port="$(free_port)"
cat >"$dir/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/logs/error.log;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $dir/nginx-temp/body;
  proxy_temp_path $dir/nginx-temp/proxy;
  fastcgi_temp_path $dir/nginx-temp/fastcgi;
  uwsgi_temp_path $dir/nginx-temp/uwsgi;
  scgi_temp_path $dir/nginx-temp/scgi;
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:$port;
    root $dir/root;
  }
}
CONF
nohup /usr/sbin/nginx -c "$dir/nginx.conf" -p "$dir" >"$dir/logs/nginx.out" 2>&1 &
echo $! >"$dir/nginx.pid.own"
wait_for_port "$port"
echo "$port" >"$dir/nginx.port"

nohup python3 "$here/fault_server.py" "$dir/root" "$dir/fault.port" >"$dir/logs/fault.out" 2>&1 &
echo $! >"$dir/fault.pid"
for _ in $(seq 100); do [ -f "$dir/fault.port" ] && break; sleep 0.1; done
[ -f "$dir/fault.port" ] || { echo "fault server did not start" >&2; "$0" stop "$dir"; exit 1; }
wait_for_port "$(cat "$dir/fault.port")"
