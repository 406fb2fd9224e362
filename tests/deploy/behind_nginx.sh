#!/usr/bin/env bash
# behind_nginx.sh SERVICE SITE STATEFILE load LOADTOOL
# behind_nginx.sh SERVICE SITE STATEFILE figures LOADTOOL
# behind_nginx.sh SERVICE SITE STATEFILE run COMMAND...
#
# The deployment on loopback: two casavo-service instances on one PostgreSQL
# database of the test cluster (STATEFILE, see postgres_cluster.sh), behind
# nginx with the deploy/ site (SITE) and a self-signed certificate, all in a
# temporary folder removed at the end.
#   load: the load run through nginx over https with one instance killed
#         (SIGKILL) halfway; then the nginx log must show every request sent
#         after the kill served by the other instance. Also checks the body
#         cap, the sign-in cap and gzip of the site.
#   figures: the load run, one after the other, on SQLite in-process, on
#         PostgreSQL in-process (one instance) and through nginx on the two
#         instances, for the table in deploy/README.md.
#   run:  runs COMMAND with CASAVO_TEST_SERVICE_URL (https://...) and
#         CASAVO_TEST_CA (the certificate to trust) set.
set -euo pipefail
service=$1 site=$2 state=$3 mode=$4
shift 4

fail() { echo "FAILED: $*" >&2; exit 1; }
[[ -s $state ]] || fail "no PostgreSQL test cluster ($state)"
cluster=$(cat "$state")
command -v nginx >/dev/null || fail "nginx is not installed (package nginx)"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/casavo-nginx-XXXXXX")
db=casavo_nginx_$(basename "$tmp" | tr -dc 'a-zA-Z0-9' | tr 'A-Z' 'a-z')
pids=()
cleanup() {
  [[ -f $tmp/nginx.pid ]] && kill "$(cat "$tmp/nginx.pid")" 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  psql "$cluster" -qc "DROP DATABASE IF EXISTS $db WITH (FORCE)" >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT

psql "$cluster" -qc "CREATE DATABASE $db"
store="$cluster dbname=$db"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
  -addext "subjectAltName=IP:127.0.0.1,DNS:localhost" \
  -keyout "$tmp/privkey.pem" -out "$tmp/fullchain.pem" 2>/dev/null

# Starts an instance on a free port; sets $pid and $port.
start_instance() {
  local out=$tmp/instance-$1.out
  CASAVO_DATABASE=$store "$service" --port 0 --data "$tmp" --behind-proxy 127.0.0.1 >"$out" 2>&1 &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 200); do
    port=$(sed -n 's/.*listening on http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$out")
    [[ -n $port ]] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$out" >&2
  fail "instance $1 did not start"
}
start_instance a
pid_a=$pid port_a=$port
start_instance b
pid_b=$pid port_b=$port

# The deploy site, pointed at this folder and these instances.
start_nginx() {
  https=$((20000 + RANDOM % 20000))
  sed -e "s|/etc/letsencrypt/live/casavo.example.org|$tmp|" \
    -e "s|127.0.0.1:8701|127.0.0.1:$port_a|" -e "s|127.0.0.1:8702|127.0.0.1:$port_b|" \
    -e "s|listen 443 ssl;|listen 127.0.0.1:$https ssl;|" -e "s|listen 80;|listen 127.0.0.1:$((https + 1));|" \
    -e '/listen \[::\]/d' -e "s|root /var/www/html;|root $tmp;|" "$site" >"$tmp/site.conf"
  local user=""
  ((EUID == 0)) && user="user root;"
  cat >"$tmp/nginx.conf" <<CONF
$user
worker_processes 2;
pid $tmp/nginx.pid;
error_log $tmp/error.log;
events { worker_connections 1024; }
http {
  include /etc/nginx/mime.types;
  default_type application/octet-stream;
  client_body_temp_path $tmp/body;
  proxy_temp_path $tmp/proxy;
  fastcgi_temp_path $tmp/fastcgi;
  uwsgi_temp_path $tmp/uwsgi;
  scgi_temp_path $tmp/scgi;
  log_format casavo_test '\$msec \$request_time \$status \$request_method \$uri "\$upstream_addr"';
  access_log $tmp/access.log casavo_test;
  include $tmp/site.conf;
}
CONF
  nginx -e "$tmp/error.log" -p "$tmp" -c "$tmp/nginx.conf"
}
for _ in 1 2 3 4 5; do
  start_nginx && break
  grep -q "in use" "$tmp/error.log" || { cat "$tmp/error.log" >&2; fail "nginx did not start"; }
done
[[ -f $tmp/nginx.pid ]] || fail "nginx did not start"
url=https://127.0.0.1:$https
for _ in $(seq 50); do
  curl -s --cacert "$tmp/fullchain.pem" -o /dev/null "$url/" && break
  sleep 0.1
done

case $mode in
  run)
    CASAVO_TEST_SERVICE_URL=$url CASAVO_TEST_CA=$tmp/fullchain.pem "$@"
    ;;
  load)
    load=$1
    curl_tls=(curl -s --cacert "$tmp/fullchain.pem")
    # The site's caps, before the load: a body over the service's limit is
    # refused by nginx, a flood of sign-ins is held back, pages are gzipped.
    big=$(head -c 34000000 /dev/zero | tr '\0' 'x' |
      "${curl_tls[@]}" -o /dev/null -w '%{http_code}' --data-binary @- "$url/soft.php")
    [[ $big == 413 ]] || fail "a 34 MB body got $big, not 413"
    codes=$(for _ in $(seq 10); do
      "${curl_tls[@]}" -o /dev/null -w '%{http_code} ' -d 'login=x&pass=y' "$url/fr/mesplans"
    done)
    [[ $codes == *429* ]] || fail "ten sign-ins in a row were not held back: $codes"
    "${curl_tls[@]}" -H 'Accept-Encoding: gzip' -D - -o /dev/null "$url/fr/" |
      grep -qi '^content-encoding: gzip' || fail "pages are not gzipped"
    "${curl_tls[@]}" -o /dev/null -w '%{http_code}' "http://127.0.0.1:$((https + 1))/fr/" |
      grep -q 301 || fail "plain http is not sent to https"

    : >"$tmp/access.log"
    "$load" 8 --url "$url" --ca "$tmp/fullchain.pem" --kill "$pid_a" | tee "$tmp/load.out"
    killed_at=$(sed -n 's/^killed process .* at unix time \([0-9.]*\)$/\1/p' "$tmp/load.out")
    [[ -n $killed_at ]] || fail "instance a was not killed"
    kill -0 "$pid_a" 2>/dev/null && fail "instance a still runs"
    # Every request that started after the kill was answered by instance b.
    awk -v t="$killed_at" -v b="127.0.0.1:$port_b" '
      # The last upstream tried is the one that answered.
      { start = $1 - $2; last = $NF; gsub(/"/, "", last) }
      start > t { after++; if ($3 >= 500 || last != b) { bad++; print "after the kill: " $0 } }
      END {
        printf "%d requests after the kill, %d not served by the other instance\n", after, bad
        exit (after > 1000 && bad == 0) ? 0 : 1
      }' "$tmp/access.log" || fail "requests after the kill were not all served by instance b"
    ;;
  figures)
    load=$1
    psql "$cluster" -qc "CREATE DATABASE ${db}_one"
    echo "== SQLite, one instance in-process"
    "$load" 8
    echo "== PostgreSQL, one instance in-process"
    "$load" 8 --database "$cluster dbname=${db}_one"
    psql "$cluster" -qc "DROP DATABASE ${db}_one WITH (FORCE)"
    echo "== PostgreSQL, two instances behind nginx (https)"
    "$load" 8 --url "$url" --ca "$tmp/fullchain.pem"
    ;;
  *)
    fail "unknown mode $mode"
    ;;
esac
