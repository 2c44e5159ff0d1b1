#!/usr/bin/env bash
# Starts or stops the test servers of one fixture folder:
#   server_fixture.sh start <folder>   nginx and the fault server, both on free
#                                      127.0.0.1 ports, serving <folder>/root
#   server_fixture.sh stop <folder>    stops exactly the processes started above
# Ports are written to <folder>/nginx.port and <folder>/fault.port. nginx also serves
# the same root over TLS: on tls.port with a certificate of the test CA
# (<folder>/tls/ca.der, which the tests put into their Wine prefix's root store) and
# on stranger.port with one of a CA nobody trusts. Both CAs are made for this run.
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

# make_ca <name>: a self-signed test CA; make_cert <name> <ca name>: a key and
# certificate for 127.0.0.1 signed by that CA.
make_ca() {
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 3 \
    -keyout "$dir/tls/$1.key" -out "$dir/tls/$1.pem" -subj "/CN=Velmora $1" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
  openssl x509 -in "$dir/tls/$1.pem" -outform der -out "$dir/tls/$1.der"
}
make_cert() {
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -keyout "$dir/tls/$1.key" \
    -out "$dir/tls/$1.csr" -subj "/CN=127.0.0.1" 2>/dev/null
  # Wine matches the host against DNS names only, Windows also against IP addresses.
  printf 'subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' \
    >"$dir/tls/$1.ext"
  openssl x509 -req -in "$dir/tls/$1.csr" -CA "$dir/tls/$2.pem" -CAkey "$dir/tls/$2.key" -CAcreateserial \
    -days 3 -extfile "$dir/tls/$1.ext" -out "$dir/tls/$1.pem" 2>/dev/null
}
mkdir -p "$dir/tls"
make_ca ca
make_cert server ca
make_ca stranger-ca
make_cert stranger stranger-ca

port="$(free_port)"
tls_port="$(free_port)"
stranger_port="$(free_port)"
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
  server {
    listen 127.0.0.1:$tls_port ssl;
    ssl_certificate $dir/tls/server.pem;
    ssl_certificate_key $dir/tls/server.key;
    root $dir/root;
  }
  server {
    listen 127.0.0.1:$stranger_port ssl;
    ssl_certificate $dir/tls/stranger.pem;
    ssl_certificate_key $dir/tls/stranger.key;
    root $dir/root;
  }
}
CONF
nohup /usr/sbin/nginx -c "$dir/nginx.conf" -p "$dir" >"$dir/logs/nginx.out" 2>&1 &
echo $! >"$dir/nginx.pid.own"
wait_for_port "$port"
wait_for_port "$tls_port"
wait_for_port "$stranger_port"
echo "$port" >"$dir/nginx.port"
echo "$tls_port" >"$dir/tls.port"
echo "$stranger_port" >"$dir/stranger.port"

nohup python3 "$here/fault_server.py" "$dir/root" "$dir/fault.port" >"$dir/logs/fault.out" 2>&1 &
echo $! >"$dir/fault.pid"
for _ in $(seq 100); do [ -f "$dir/fault.port" ] && break; sleep 0.1; done
[ -f "$dir/fault.port" ] || { echo "fault server did not start" >&2; "$0" stop "$dir"; exit 1; }
wait_for_port "$(cat "$dir/fault.port")"
